// Twelve functions that no test calls, a blank line between each two.
function gap1() {
  return 1;
}

function gap2() {
  return 2;
}

function gap3() {
  return 3;
}

function gap4() {
  return 4;
}

function gap5() {
  return 5;
}

function gap6() {
  return 6;
}

function gap7() {
  return 7;
}

function gap8() {
  return 8;
}

function gap9() {
  return 9;
}

function gap10() {
  return 10;
}

function gap11() {
  return 11;
}

function gap12() {
  return 12;
}

gap1;
