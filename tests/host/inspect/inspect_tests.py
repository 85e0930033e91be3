# kite --inspect through a real protocol client (Debian's python3-websocket):
#   inspect_tests.py KITE PLUGIN [unittest arguments]
# Each case debugs app.js beside this file on the simulated player.
import ctypes, http.client, json, os, re, select, shutil, signal, socket, struct, subprocess, sys, tempfile, time
import unittest
import websocket

KITE, PLUGIN = sys.argv[1:3]
APP = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'app.js')
APP_URL = 'file://' + APP
WAITING = 'Waiting for the debugger to disconnect...\n'
VERSION_REQUEST = b'GET /json/version HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n'


def die_with_this_test():
    """A kite left waiting by a failed case goes when the test does, also when it is killed."""
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def read_answer(reader, body=True):
    """The status, the Connection header and the body of the next HTTP answer that READER gives (a HEAD's has none)."""
    status = int(reader.readline().decode().split(' ')[1])
    headers = dict(line.decode().rstrip('\r\n').split(': ', 1) for line in iter(reader.readline, b'\r\n'))
    return status, headers['Connection'], reader.read(int(headers['Content-Length']) if body else 0).decode()


class Client:
    """One protocol client on a WebSocket."""

    def __init__(self, url, **options):
        self.ws = websocket.create_connection(url, timeout=20, **options)
        self.next_id, self.events = 0, []

    def call(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get('id') == self.next_id:
                return message.get('result', message.get('error'))
            self.events.append(message)

    def evaluate(self, expression):
        return self.call('Runtime.evaluate', expression=expression)['result'].get('value')

    def wait_for(self, method, **match):
        while True:
            message = self.events.pop(0) if self.events else json.loads(self.ws.recv())
            if message.get('method') == method and match.items() <= message['params'].items():
                return message['params']

    def messages_until(self, method):
        """The messages that come, up to the first of METHOD, which is the last."""
        messages = []
        while not messages or messages[-1].get('method') != method:
            messages.append(self.events.pop(0) if self.events else json.loads(self.ws.recv()))
        return messages

    def close(self):
        self.ws.close()
        self.ws.shutdown()  # also after the server closed first

    def answer(self, payload, opcode=websocket.ABNF.OPCODE_TEXT):
        """What the server answers to one frame: its error or result, or the close and its code."""
        self.ws.send(payload, opcode)
        opcode, data = self.ws.recv_data(control_frame=True)
        if opcode == websocket.ABNF.OPCODE_CLOSE:
            return 'closed %d' % struct.unpack('!H', data[:2])
        message = json.loads(data)
        if 'error' in message:
            return 'error %(code)d: %(message)s' % message['error']
        return message['result']['result']['value']


class Kite:
    """kite --inspect-wait (or another) on app.js, a free port, and its clients."""

    def __init__(self, option='--inspect-wait', *args, log=None, script=APP, cwd=None):
        self.process = subprocess.Popen([KITE, '--adapter=sim', '--plugin=' + os.path.abspath(PLUGIN),
                                         option + '=127.0.0.1:0', *(['--log=' + log] if log else []), script, *args],
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, cwd=cwd,
                                        preexec_fn=die_with_this_test)
        self.banner = ''.join(self.process.stderr.readline() for _ in range(4))
        self.url = re.search(r'^Debugger listening on (ws://(127\.0\.0\.1:\d+)/\S+)$', self.banner, re.M)[1]
        self.address = self.url.split('/')[2]
        self.clients = []

    def get(self, path, host=None):
        connection = http.client.HTTPConnection(self.address, timeout=20)
        connection.request('GET', path, headers={'Host': host or self.address})
        response = connection.getresponse()
        answer = response.status, response.read().decode()
        connection.close()
        return answer

    def host_and_port(self):
        host, port = self.address.split(':')
        return host, int(port)

    def exchange(self, data):
        """All that the server answers to DATA and nothing more, on a connection of its own, until it closes it."""
        with socket.create_connection(self.host_and_port(), timeout=20) as connection:
            connection.sendall(data)
            connection.shutdown(socket.SHUT_WR)
            return b''.join(iter(lambda: connection.recv(65536), b''))

    def attach(self, **options):
        self.clients.append(Client(self.url, **options))
        return self.clients[-1]

    def descriptors(self):
        """kite's open descriptors, once it serves the inspector (until then it may be reading plug-ins)."""
        self.exchange(VERSION_REQUEST)
        return len(os.listdir('/proc/%d/fd' % self.process.pid))

    def settled_descriptors(self, expected):
        """The count of open descriptors once it is EXPECTED, or after 5 s."""
        for _ in range(50):
            if self.descriptors() == expected:
                break
            time.sleep(0.1)
        return self.descriptors()

    def stderr_until(self, line):
        return list(iter(self.process.stderr.readline, line))

    def finish(self, expected_status):
        for client in self.clients:
            client.close()
        out, err = self.process.communicate(timeout=20)
        self.stderr = self.banner + err
        assert self.process.returncode == expected_status, (self.process.returncode, out, self.stderr)
        return out


class InspectTests(unittest.TestCase):
    def test_discovery_and_host_check(self):
        kite = Kite()
        self.assertIn('open chrome://inspect', kite.banner)
        self.assertIn('\ndevtools://devtools/bundled/js_app.html?experiments=true&v8only=true&ws=' +
                      kite.url[len('ws://'):] + '\n', kite.banner)
        self.assertIn(b'\r\nConnection: close\r\n', kite.exchange(VERSION_REQUEST))
        status, version = kite.get('/json/version')
        self.assertEqual((status, json.loads(version)['Browser']), (200, 'kite'))
        status, listed = kite.get('/json/list')
        self.assertEqual((status, kite.get('/json')), (200, (200, listed)))
        [target] = json.loads(listed)
        self.assertEqual((target['webSocketDebuggerUrl'], target['title'], target['type'], target['url']),
                         (kite.url, 'app.js', 'node', APP_URL))
        self.assertEqual(target['devtoolsFrontendUrl'].split('ws=')[1], kite.url[len('ws://'):])
        self.assertTrue(kite.url.endswith('/' + target['id']))
        # A name is refused, as a DNS rebinding attack sends one, but not localhost.
        self.assertEqual(kite.get('/json/list', host='evil.example:9229')[0], 403)
        listed = json.loads(kite.get('/json/list', host='localhost:9229')[1])
        self.assertEqual(listed[0]['webSocketDebuggerUrl'], kite.url.replace(kite.address, 'localhost:9229'))
        with self.assertRaisesRegex(websocket.WebSocketBadStatusException, '403'):
            kite.attach(host='evil.example')
        # The script still waits for a client to run it: SIGTERM ends the wait.
        kite.process.send_signal(signal.SIGTERM)
        self.assertEqual(kite.finish(143), '')

    def test_listening_addresses(self):
        held = socket.create_server(('127.0.0.1', 0))
        listening = (r'^Debugger listening on ws://127\.0\.0\.1:%d/[0-9a-f-]+\n(.*\n){2}devtools://devtools/bundled/'
                     r'js_app\.html\?experiments=true&v8only=true&ws=127\.0\.0\.1:%d/')
        taken = r'^kite: --inspect: cannot listen on 127\.0\.0\.1:%d: .*Address already in use\n$'
        # 9229 may be taken on this machine (by a Node.js, or a kite being debugged or tested at the same time), and
        # may be taken or freed between any check of ours and kite's: kite's own answer says which branch ran, and
        # either must name the default port.
        outcomes = {0: listening, 2: taken}
        # option, port, status (None: either), stderr
        cases = [('--inspect', 9229, None, None),
                 ('--inspect=127.0.0.1:%d' % held.getsockname()[1], held.getsockname()[1], 2, taken)]
        for option, port, status, stderr in cases:
            with self.subTest(option):
                run = subprocess.run([KITE, '--adapter=sim', '--plugin=' + PLUGIN, option, APP], capture_output=True,
                                     text=True, timeout=20)
                if status is None:
                    self.assertIn(run.returncode, outcomes, run.stderr)
                    print('\nport %d was %s' % (port, 'free' if run.returncode == 0 else 'taken'), file=sys.stderr)
                    stderr = outcomes[run.returncode]
                else:
                    self.assertEqual(run.returncode, status, run.stderr)
                self.assertRegex(run.stderr, stderr.replace('%d', str(port)))
        held.close()

    def test_evaluate_console_and_end_on_detach(self):
        kite = Kite()
        client = kite.attach()
        client.call('Runtime.enable')
        self.assertEqual(client.evaluate('6 * 7'), 42)
        # The script's context, whose script has not run yet.
        self.assertEqual(client.evaluate('typeof kite.afterIdle + typeof onPrepared'), 'functionundefined')
        client.call('Runtime.runIfWaitingForDebugger')
        logged = client.wait_for('Runtime.consoleAPICalled')
        self.assertEqual((logged['type'], [arg['value'] for arg in logged['args']]),
                         ('log', ['started with', 0, 'arguments']))
        self.assertEqual([(f['functionName'], f['lineNumber'], f['url']) for f in logged['stackTrace']['callFrames']],
                         [('', 4, APP_URL)])
        logged = client.wait_for('Runtime.consoleAPICalled', type='error')
        self.assertEqual(logged['args'][0]['value'], 'prepared,buffering 50,idle,timer')
        # Nothing is left to do, but the client is attached.
        self.assertEqual(kite.stderr_until(WAITING), ['Debugger attached.\n', 'prepared,buffering 50,idle,timer\n'])
        time.sleep(0.3)
        self.assertIsNone(kite.process.poll())
        self.assertEqual(kite.finish(0), 'started with 0 arguments\nprepared 0\n')

    def test_every_console_method_reaches_the_client(self):
        kite = Kite('--inspect-wait', 'console')
        client = kite.attach()
        client.call('Runtime.enable')
        client.call('Runtime.runIfWaitingForDebugger')
        calls = [client.wait_for('Runtime.consoleAPICalled') for _ in range(10)]
        self.assertEqual([(call['type'], call['args'][0].get('value')) for call in calls],
                         [('log', 'started with'), ('info', 'info'), ('debug', 'debug'), ('warning', 'warn'),
                          ('trace', 'trace'), ('assert', 'assert'), ('count', 'default: 1'),
                          ('timeEnd', calls[7]['args'][0]['value']), ('log', 'prepared'),
                          ('error', 'prepared,buffering 50,idle,timer')])
        self.assertRegex(calls[7]['args'][0]['value'], r'^default: [0-9.]+ ?ms$')
        self.assertRegex(kite.finish(0),
                         r'^started with 1 arguments\ninfo\ndebug\ndefault: 1\ndefault: [0-9.]+ms\nprepared 0\n$')

    def test_two_clients_at_once(self):
        kite = Kite()
        first, second = kite.attach(), kite.attach()
        for client in first, second:
            client.call('Debugger.enable')
        first.call('Debugger.setBreakpointByUrl', url=APP_URL, lineNumber=11)
        second.call('Runtime.runIfWaitingForDebugger')
        paused = [client.wait_for('Debugger.paused')['callFrames'][0]['functionName'] for client in (first, second)]
        self.assertEqual(paused, ['onPrepared', 'onPrepared'])
        # One goes while the script is paused; the other holds it still.
        first.close()
        self.assertEqual(second.evaluate('seen.length'), 0)
        self.assertIsNone(kite.process.poll())
        second.call('Debugger.resume')
        self.assertEqual(kite.stderr_until(WAITING), ['Debugger attached.\n'] * 2 +
                         ['prepared,buffering 50,idle,timer\n'])
        self.assertEqual(kite.finish(0), 'started with 0 arguments\nprepared 0\n')

    def test_node_inspect(self):
        # Node's own command-line client, driven as a user types.
        kite = Kite('--inspect-brk')
        client = subprocess.Popen([shutil.which('node'), 'inspect', kite.address], stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, preexec_fn=die_with_this_test)
        seen = b''
        # what is typed, and what node inspect then prints
        cases = [('', 'Break on start in %s:5\n' % APP),
                 ('setBreakpoint(12)', '>12   console.log('),
                 ('cont', 'break in %s:12\n' % APP),
                 ('exec [state.return_ecode, seen.length]', '[ 0, 0 ]'),
                 ('next', 'break in %s:13\n' % APP),
                 ('bt', '#0 onPrepared %s:13:' % APP)]
        for typed, expected in cases:
            with self.subTest(typed):
                client.stdin.write(typed.encode() + b'\n')
                client.stdin.flush()
                while expected.encode() not in seen:
                    ready, _, _ = select.select([client.stdout], [], [], 20)
                    self.assertTrue(ready, seen.decode(errors='replace'))
                    seen += os.read(client.stdout.fileno(), 65536)
                seen = seen[seen.index(expected.encode()) + len(expected):]
        client.communicate(b'cont\n.exit\n', timeout=20)
        self.assertEqual(kite.finish(0), 'started with 0 arguments\nprepared 0\n')

    def test_breakpoint_and_pause_on_uncaught_exception_in_callbacks(self):
        kite = Kite('--inspect-wait', 'callback')
        client = kite.attach()
        client.call('Debugger.enable')
        self.assertEqual(client.wait_for('Debugger.scriptParsed')['url'], APP_URL)
        breakpoint = client.call('Debugger.setBreakpointByUrl', url=APP_URL, lineNumber=10)
        client.call('Debugger.setPauseOnExceptions', state='uncaught')
        client.call('Runtime.runIfWaitingForDebugger')
        paused = client.wait_for('Debugger.paused')
        frame = paused['callFrames'][0]
        self.assertEqual((paused['hitBreakpoints'], frame['functionName'], frame['location']['lineNumber']),
                         ([breakpoint['breakpointId']], 'onPrepared', 10))
        local = frame['scopeChain'][0]
        properties = client.call('Runtime.getProperties', objectId=local['object']['objectId'])['result']
        self.assertEqual((local['type'], [p['name'] for p in properties]), ('local', ['state']))
        evaluate = lambda expression: client.call('Debugger.evaluateOnCallFrame', callFrameId=frame['callFrameId'],
                                                  expression=expression)['result']['value']
        self.assertEqual(evaluate('player.player_get_player_state().return_ecode'), 0)
        # The timer falls due meanwhile, the buffering event and afterIdle are queued: all wait.
        time.sleep(0.3)
        self.assertEqual(evaluate('seen.join()'), '')
        client.call('Debugger.resume')
        paused = client.wait_for('Debugger.paused')
        self.assertEqual((paused['reason'], paused['callFrames'][0]['functionName'], paused['data']['description']
                          .split('\n')[0]), ('exception', 'onBuffering', 'Error: buffering 50'))
        client.call('Debugger.resume')
        # Then they go on in order, as after a callback that took this long.
        self.assertEqual(kite.finish(1), 'started with 1 arguments\nprepared 0\n')
        self.assertRegex(kite.stderr, r'\nUncaught Error: buffering 50\n    at onBuffering .*\nprepared,idle,timer\n(Waiting for.*\n)?$')

    def test_uncaught_errors_reach_the_client(self):
        ran = 'started with 1 arguments\nprepared 0\n'
        # thrower (app.js), Runtime.exceptionThrown's text, line (from 0), function, exception, stdout
        cases = [('callback', 'Uncaught', 16, 'onBuffering', 'Error: buffering 50', ran),
                 ('timer', 'Uncaught', 25, 'onTimer', 'TypeError: timer', ran),
                 ('idle', 'Uncaught', 31, 'onIdle', 'RangeError: idle', ran),
                 ('promise', 'Uncaught (in promise)', 35, 'start', 'Error: rejected', ran),
                 ('top', 'Uncaught', 45, '', 'Error: top level', 'started with 1 arguments\n')]
        for thrower, text, line, function, exception, out in cases:
            with self.subTest(thrower):
                kite = Kite('--inspect-wait', thrower)
                client = kite.attach()
                client.call('Runtime.enable')
                client.call('Runtime.runIfWaitingForDebugger')
                details = client.wait_for('Runtime.exceptionThrown')['exceptionDetails']
                top = details['stackTrace']['callFrames'][0]
                self.assertEqual((details['text'], details['url'], details['lineNumber'], top['functionName'],
                                  top['url'], top['lineNumber'], details['exception']['description'].split('\n')[0]),
                                 (text, APP_URL, line, function, APP_URL, line, exception))
                # The run, even one whose top level failed, ends once the client goes; till then it evaluates.
                # The report: the place, the source line, the caret, a blank line, the error.
                report = kite.stderr_until(WAITING)
                self.assertEqual(report[:2] + report[4:6], ['Debugger attached.\n', '%s:%d\n' % (APP, line + 1), '\n',
                                                            text + ' ' + exception + '\n'])
                self.assertEqual(client.evaluate('typeof player'), 'object')
                self.assertIsNone(kite.process.poll())
                self.assertEqual(kite.finish(1), out)

    def test_scripts_are_known_by_absolute_path(self):
        here = os.path.dirname(APP)
        loaded = os.path.join(here, 'lib', 'loaded.js')
        # where kite runs, the script as named there, what throws, and where: the file, its line (from 0), the
        # column (from 1), the function
        cases = [(here, 'app.js', 'timer', APP, 25, 13, 'onTimer'),
                 (here, './app.js', 'timer', APP, 25, 13, 'onTimer'),
                 (os.path.dirname(here), 'inspect/../inspect//app.js', 'timer', APP, 25, 13, 'onTimer'),
                 (here, 'app.js', 'load', loaded, 2, 9, 'fromLoaded')]
        for cwd, script, thrower, path, line, column, function in cases:
            with self.subTest(cwd=cwd, script=script, thrower=thrower):
                kite = Kite('--inspect-wait', thrower, script=script, cwd=cwd)
                client = kite.attach()
                client.call('Runtime.enable')
                client.call('Debugger.enable')
                client.call('Runtime.runIfWaitingForDebugger')
                messages = client.messages_until('Runtime.exceptionThrown')
                parsed = [m['params']['url'] for m in messages
                          if m.get('method') == 'Debugger.scriptParsed' and m['params']['url']]
                details = messages[-1]['params']['exceptionDetails']
                url = 'file://' + path
                self.assertEqual(parsed, [APP_URL] + ([url] if path != APP else []))
                self.assertEqual((details['url'], details['stackTrace']['callFrames'][0]['url']), (url, url))
                # What error.stack says, and kite's own report: the same absolute path.
                frame = '    at %s (%s:%d:%d)' % (function, path, line + 1, column)
                self.assertEqual(details['exception']['description'].split('\n')[1], frame)
                report = kite.stderr_until(WAITING)
                self.assertEqual((report[1], report[6]), ('%s:%d\n' % (path, line + 1), frame + '\n'))
                self.assertEqual(kite.finish(1), 'started with 1 arguments\nprepared 0\n')

    def test_signals_while_the_debugger_holds_the_script(self):
        ran = 'started with 0 arguments\n'
        # option, app.js's argument, breakpoint line, the event waited for, signal, whether the client leaves
        # with it, status, stdout, player destroyed
        cases = [('--inspect-wait', (), None, None, signal.SIGTERM, False, 143, '', False),
                 ('--inspect-brk', (), None, 'Debugger.paused', signal.SIGINT, False, 130, '', False),
                 ('--inspect-brk', (), None, 'Debugger.paused', signal.SIGINT, True, 130, '', False),
                 ('--inspect-wait', (), 11, 'Debugger.paused', signal.SIGTERM, False, 143, ran, True),
                 ('--inspect-wait', (), 11, 'Debugger.paused', signal.SIGTERM, True, 143, ran, True),
                 ('--inspect-wait', ('top',), None, 'Runtime.exceptionThrown', signal.SIGINT, False, 130,
                  'started with 1 arguments\n', True)]
        for option, args, line, event, stop, leaves, status, out, destroyed in cases:
            with self.subTest(option=option, args=args, line=line, leaves=leaves), \
                    tempfile.NamedTemporaryFile('r') as log:
                kite = Kite(option, *args, log=log.name)
                client = kite.attach()
                client.call('Runtime.enable')
                client.call('Debugger.enable')
                if line is not None:
                    client.call('Debugger.setBreakpointByUrl', url=APP_URL, lineNumber=line)
                if event:
                    client.call('Runtime.runIfWaitingForDebugger')
                    client.wait_for(event)
                kite.process.send_signal(stop)
                # The client that stays does not keep kite; one that leaves at once does not let the script go on.
                if not leaves:
                    kite.process.wait(timeout=20)
                self.assertEqual(kite.finish(status), out)
                self.assertEqual('End to destroy CPlayerAgent' in log.read(), destroyed)

    def test_discovery_keeps_its_connection_open(self):
        kite = Kite()
        first = kite.descriptors()
        connection = socket.create_connection(kite.host_and_port(), timeout=20)
        reader = connection.makefile('rb')
        # sent at once on one connection, and the answers in their order: status, Connection, what the body holds
        # (None: a HEAD's answer, which has none)
        cases = [([b'GET /json/version HTTP/1.1\r\nHost: %s\r\n\r\n' % kite.address.encode()],
                  [(200, 'keep-alive', '"Browser" : "kite"')]),
                 ([b'GET /json/list HTTP/1.1\r\nHost: localhost\r\n\r\n', b'GET /json HTTP/1.1\r\n\r\n'],
                  [(200, 'keep-alive', '"ws://localhost/'), (200, 'keep-alive', '"%s"' % kite.url)]),
                 ([b'GET /json/list HTTP/1.0\r\nConnection: keep-alive\r\n\r\n'],
                  [(200, 'keep-alive', '"type" : "node"')]),
                 ([b'HEAD /json/version HTTP/1.1\r\n\r\n', b'GET /json/version HTTP/1.1\r\n\r\n'],
                  [(200, 'keep-alive', None), (200, 'keep-alive', '"Protocol-Version"')]),
                 ([b'GET /json/version HTTP/1.1\r\nConnection: close\r\n\r\n'],
                  [(200, 'close', '"V8-Version"')])]
        for sent, expected in cases:
            with self.subTest(sent=sent):
                connection.sendall(b''.join(sent))
                answers = [read_answer(reader, part is not None) for _, _, part in expected]
                self.assertEqual([answer[:2] for answer in answers], [answer[:2] for answer in expected])
                for answer, (_, _, part) in zip(answers, expected):
                    self.assertIn(part or '', answer[2])
        # Connection: close is honoured: kite closes its end.
        self.assertEqual(reader.read(), b'')
        reader.close()
        connection.close()
        # HTTP/1.0 closes unless asked not to, and so does a request with a body, which kite does not read, and any
        # answer but 200; an idle connection that its client closes goes at once.
        for request, status, closes in [(b'GET /json HTTP/1.0\r\n\r\n', 200, 'close'),
                                        (b'POST /json HTTP/1.1\r\nContent-Length: 2\r\n\r\n{}', 200, 'close'),
                                        (b'GET /nothing HTTP/1.1\r\n\r\n', 404, 'close'),
                                        (b'GET /json HTTP/1.1\r\nHost: evil.example\r\n\r\n', 403, 'close'),
                                        (b'GET /json HTTP/1.1\r\n\r\n', 200, 'keep-alive')]:
            with self.subTest(request=request), socket.create_connection(kite.host_and_port(), timeout=20) as idle, \
                    idle.makefile('rb') as reader:
                idle.sendall(request)
                self.assertEqual(read_answer(reader)[:2], (status, closes))
                if closes == 'close':
                    self.assertEqual(reader.read(), b'')
        self.assertEqual(kite.settled_descriptors(first), first)
        kite.process.send_signal(signal.SIGTERM)
        self.assertEqual(kite.finish(143), '')

    def test_oversized_headers_get_431(self):
        limit = 64 * 1024
        refused = 'HTTP/1.1 431 Request Header Fields Too Large'
        # the request's head (its line and headers), and the status line of the answer
        cases = [(b'GET /json/version HTTP/1.1\r\nX-Pad: %s\r\n\r\n' % (b'x' * (limit - 60)), 'HTTP/1.1 200 OK'),
                 (b'GET /json/version HTTP/1.1\r\nX-Pad: %s\r\n\r\n' % (b'x' * limit), refused),
                 (b'GET /json/version HTTP/1.1\r\n' + b'X-Pad: 0123456789012345678901234567890123\r\n' * 2000 +
                  b'\r\n', refused),
                 # a request line beyond the limit does not say its version
                 (b'GET /json/%s HTTP/1.1\r\n\r\n' % (b'x' * limit), refused.replace('1.1', '1.0')),
                 (b'GET /json/version HTTP/1.0\r\nX-Pad: %s\r\n\r\n' % (b'x' * (1 << 20)),
                  refused.replace('1.1', '1.0')),
                 (b'GET /json/version HTTP/1.1\r\nX-Pad: %s' % (b'x' * (1 << 20)), refused)]
        kite = Kite()
        first = kite.descriptors()
        for head, expected in cases:
            with self.subTest(size=len(head), expected=expected):
                # As clients send: the request, then the answer is read with the connection still open.
                with socket.create_connection(kite.host_and_port(), timeout=20) as connection, \
                        connection.makefile('rb') as reader:
                    connection.sendall(head)
                    self.assertEqual(reader.readline().decode().rstrip('\r\n'), expected)
                    if expected != 'HTTP/1.1 200 OK':
                        # The answer says why, and kite then closes the connection.
                        rest = reader.read().decode()
                        self.assertIn('\r\nConnection: close\r\n', rest)
                        self.assertTrue(rest.endswith('64 KiB at most\n'), rest[-200:])
        self.assertEqual(kite.settled_descriptors(first), first)
        # A client that keeps its end open once answered does not keep kite's.
        with socket.create_connection(kite.host_and_port(), timeout=20) as connection, \
                connection.makefile('rb') as reader:
            connection.sendall(cases[1][0])
            self.assertTrue(reader.read().startswith(refused.encode()))
            self.assertEqual(kite.settled_descriptors(first), first)
        self.assertEqual(kite.attach().evaluate('6 * 7'), 42)
        kite.process.send_signal(signal.SIGTERM)
        self.assertEqual(kite.finish(143), '')

    def test_descriptors_return_to_their_first_count(self):
        kite = Kite()
        first = kite.descriptors()
        # As chrome://inspect polls, each time on a connection of its own.
        for i in range(200):
            self.assertEqual(kite.get(['/json/list', '/json/version'][i % 2])[0], 200)
        self.assertEqual(kite.settled_descriptors(first), first, 'after 200 requests')
        client = kite.attach()
        for i in range(1000):
            self.assertEqual(client.evaluate('%d + 1' % i), i + 1)
        client.close()
        self.assertEqual(kite.settled_descriptors(first), first, 'after a client with 1000 messages')
        kite.process.send_signal(signal.SIGTERM)
        self.assertEqual(kite.finish(143), '')

    def test_bad_input_gets_an_error_or_a_closed_connection(self):
        big = 'x' * (10 << 20)
        # what is sent, how, and the answer
        cases = [(b'BLAH\r\n\r\n', 'http', 'HTTP/1.0 400 Bad Request'),
                 (b'GET /json HTTP/1.1\r\n', 'http', 'HTTP/1.1 400 Bad Request'),
                 (b'\x00\xff' * 100, 'http', 'HTTP/1.0 400 Bad Request'),
                 (b'GET /json HTTP/9.9\r\n\r\n', 'http', 'HTTP/1.0 505 HTTP Version Not Supported'),
                 ('not JSON', 'text', 'error -32700: JSON: invalid token at position 0'),
                 ('{"id": 1}', 'text', "error -32600: Message must have string 'method' property"),
                 ('{"id": 1, "method": "Kite.nothing"}', 'text', "error -32601: 'Kite.nothing' wasn't found"),
                 (json.dumps({'id': 1, 'method': 'Runtime.evaluate', 'params': {'expression': '"%s".length' % big}}),
                  'text', 10 << 20),
                 (big, 'text', 'error -32700: JSON: invalid token at position 0'),
                 (b'{"id": 1, "method": "Runtime.enable"}', 'binary', 'closed 1003'),
                 (b'{"id": 1, "method": "\xff"}', 'text', 'closed 1007')]
        kite = Kite()
        first = kite.descriptors()
        for payload, how, expected in cases:
            with self.subTest(how=how, payload=payload[:40]):
                if how == 'http':
                    self.assertEqual(kite.exchange(payload).split(b'\r\n')[0].decode(), expected)
                else:
                    client = kite.attach()
                    opcode = websocket.ABNF.OPCODE_BINARY if how == 'binary' else websocket.ABNF.OPCODE_TEXT
                    self.assertEqual(client.answer(payload, opcode), expected)
                    client.close()
        # kite goes on serving, with no descriptor left behind.
        self.assertEqual(kite.settled_descriptors(first), first)
        self.assertEqual(kite.attach().evaluate('6 * 7'), 42)
        kite.process.send_signal(signal.SIGTERM)
        self.assertEqual(kite.finish(143), '')


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:])
