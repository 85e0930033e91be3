// An app file whose function a test file wants to take by name.
function greeter() {}
({ greeter });
