// Fails to compile on line 3.
let fine = 1;
let broken = ;
