// The test file that devtools_tests.py debugs (with --clock=real): a client
// holds each test past the time limit, at a debugger statement or a
// breakpoint, and each test still has to wait once it is let go.
'use strict';
const aWhile = () => new Promise((resolve) => setTimeout(resolve, 50));
test('pauses at a debugger statement', async function pausesAtTheStatement() {
  debugger;
  await aWhile();
});
test('stops at a breakpoint', async function stopsAtTheBreakpoint() {
  await new Promise((resolve) => setTimeout(function onTimer() {
    resolve('the breakpoint');
  }, 10));
  await aWhile();
});
