// Declares a name that load.test.js has already taken.
function taken() {}
