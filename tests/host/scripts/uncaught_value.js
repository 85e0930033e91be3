// A file whose top level throws a value that is no Error (runner/load.test.js).
throw 42;
