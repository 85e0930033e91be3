// A thrown value that is not an Error is reported with where it came from.
throw 42;
