# Runs a command on a pseudo-terminal and checks what it wrote there:
#   on_terminal.py PATTERN COMMAND [ARGS...]
# Exits 0 when the command ended with status 0 and its output matches.
import os, pty, re, sys

pattern, command = sys.argv[1], sys.argv[2:]
pid, terminal = pty.fork()
if pid == 0:
    os.execvp(command[0], command)
output = b''
while True:
    try:
        chunk = os.read(terminal, 4096)
    except OSError:  # the command has ended and closed the terminal
        break
    if not chunk:
        break
    output += chunk
_, status = os.waitpid(pid, 0)
text = output.decode('utf-8', 'replace').replace('\r\n', '\n')
if os.waitstatus_to_exitcode(status) != 0 or not re.search(pattern, text):
    sys.exit('status %d, output %r does not match %r' % (os.waitstatus_to_exitcode(status), text, pattern))
