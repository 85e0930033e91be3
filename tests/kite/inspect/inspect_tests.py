# kite --inspect through a real protocol client (Debian's python3-websocket):
#   inspect_tests.py KITE PLUGIN [unittest arguments]
# Each case debugs app.js beside this file on the simulated player.
import ctypes, http.client, json, os, re, signal, subprocess, sys, time, unittest
import websocket

KITE, PLUGIN = sys.argv[1:3]
APP = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'app.js')
APP_URL = 'file://' + APP


def die_with_this_test():
    """A kite left waiting by a failed case goes when the test does, also when it is killed."""
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


class Kite:
    """kite --inspect-wait (or another) on app.js, a free port, and one client."""

    def __init__(self, option='--inspect-wait', *args):
        self.process = subprocess.Popen([KITE, '--adapter=sim', '--plugin=' + PLUGIN, option + '=127.0.0.1:0', APP,
                                         *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                        preexec_fn=die_with_this_test)
        self.banner = ''.join(self.process.stderr.readline() for _ in range(4))
        self.url = re.search(r'^Debugger listening on (ws://(127\.0\.0\.1:\d+)/\S+)$', self.banner, re.M)[1]
        self.address = self.url.split('/')[2]
        self.next_id, self.events = 0, []

    def get(self, path, host=None):
        connection = http.client.HTTPConnection(self.address, timeout=20)
        connection.request('GET', path, headers={'Host': host or self.address})
        response = connection.getresponse()
        answer = response.status, response.read().decode()
        connection.close()
        return answer

    def attach(self, **options):
        self.ws = websocket.create_connection(self.url, timeout=20, **options)
        return self

    def call(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get('id') == self.next_id:
                return message.get('result', message.get('error'))
            self.events.append(message)

    def wait_for(self, method):
        while True:
            message = self.events.pop(0) if self.events else json.loads(self.ws.recv())
            if message.get('method') == method:
                return message['params']

    def finish(self, expected_status):
        self.ws.close()
        out, err = self.process.communicate(timeout=20)
        self.stderr = self.banner + err
        assert self.process.returncode == expected_status, (self.process.returncode, out, self.stderr)
        return out


class InspectTests(unittest.TestCase):
    def test_discovery_host_check_and_one_client(self):
        kite = Kite()
        self.assertIn('open chrome://inspect', kite.banner)
        self.assertIn('\ndevtools://devtools/bundled/js_app.html?experiments=true&v8only=true&ws=' +
                      kite.url[len('ws://'):] + '\n', kite.banner)
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
        kite.attach()
        with self.assertRaisesRegex(websocket.WebSocketBadStatusException, '409'):
            websocket.create_connection(kite.url, timeout=20)
        # The script still waits for the client to run it: SIGTERM ends the wait.
        kite.process.send_signal(signal.SIGTERM)
        self.assertEqual(kite.finish(143), '')

    def test_evaluate_console_and_end_on_detach(self):
        kite = Kite().attach()
        kite.call('Runtime.enable')
        self.assertEqual(kite.call('Runtime.evaluate', expression='6 * 7')['result']['value'], 42)
        # The script's context, whose script has not run yet.
        self.assertEqual(kite.call('Runtime.evaluate', expression='typeof kite.afterIdle + typeof onPrepared')
                         ['result']['value'], 'functionundefined')
        kite.call('Runtime.runIfWaitingForDebugger')
        logged = kite.wait_for('Runtime.consoleAPICalled')
        self.assertEqual((logged['type'], [arg['value'] for arg in logged['args']]),
                         ('log', ['started with', 0, 'arguments']))
        self.assertEqual([(f['functionName'], f['lineNumber'], f['url']) for f in logged['stackTrace']['callFrames']],
                         [('start', 16, APP_URL), ('', 26, APP_URL)])
        logged = kite.wait_for('Runtime.consoleAPICalled')
        self.assertEqual((logged['type'], logged['args'][0]['value']), ('error', 'prepared,buffering 50,idle,timer'))
        # Nothing is left to do, but the client is attached.
        lines = iter(kite.process.stderr.readline, 'Waiting for the debugger to disconnect...\n')
        self.assertEqual(list(lines), ['Debugger attached.\n', 'prepared,buffering 50,idle,timer\n'])
        time.sleep(0.3)
        self.assertIsNone(kite.process.poll())
        self.assertEqual(kite.finish(0), 'started with 0 arguments\n')

    def test_every_console_method_reaches_the_client(self):
        kite = Kite('--inspect-wait', 'console').attach()
        kite.call('Runtime.enable')
        kite.call('Runtime.runIfWaitingForDebugger')
        calls = [kite.wait_for('Runtime.consoleAPICalled') for _ in range(9)]
        self.assertEqual([(call['type'], call['args'][0].get('value')) for call in calls],
                         [('log', 'started with'), ('info', 'info'), ('debug', 'debug'), ('warning', 'warn'),
                          ('trace', 'trace'), ('assert', 'assert'), ('count', 'default: 1'),
                          ('timeEnd', calls[7]['args'][0]['value']), ('error', 'prepared,buffering 50,idle,timer')])
        self.assertRegex(calls[7]['args'][0]['value'], r'^default: [0-9.]+ ?ms$')
        self.assertRegex(kite.finish(0), r'^started with 1 arguments\ninfo\ndebug\ndefault: 1\ndefault: [0-9.]+ms\n$')

    def test_breakpoint_and_uncaught_exception_in_callbacks(self):
        kite = Kite('--inspect-wait', 'throw').attach()
        kite.call('Debugger.enable')
        self.assertEqual(kite.wait_for('Debugger.scriptParsed')['url'], APP_URL)
        breakpoint = kite.call('Debugger.setBreakpointByUrl', url=APP_URL, lineNumber=8)
        kite.call('Debugger.setPauseOnExceptions', state='uncaught')
        kite.call('Runtime.runIfWaitingForDebugger')
        paused = kite.wait_for('Debugger.paused')
        frame = paused['callFrames'][0]
        self.assertEqual((paused['hitBreakpoints'], frame['functionName'], frame['location']['lineNumber']),
                         ([breakpoint['breakpointId']], 'onPrepared', 8))
        local = frame['scopeChain'][0]
        properties = kite.call('Runtime.getProperties', objectId=local['object']['objectId'])['result']
        self.assertEqual((local['type'], [p['name'] for p in properties]), ('local', ['state']))
        evaluate = lambda expression: kite.call('Debugger.evaluateOnCallFrame', callFrameId=frame['callFrameId'],
                                                expression=expression)['result']['value']
        self.assertEqual(evaluate('state.return_ecode'), 0)
        # The timer falls due meanwhile, the buffering event and afterIdle are queued: all wait.
        time.sleep(0.3)
        self.assertEqual(evaluate('seen.join()'), '')
        kite.call('Debugger.resume')
        paused = kite.wait_for('Debugger.paused')
        self.assertEqual((paused['reason'], paused['callFrames'][0]['functionName'], paused['data']['description']
                          .split('\n')[0]), ('exception', 'onBuffering', 'Error: buffering 50'))
        kite.call('Debugger.resume')
        # Then they go on in order, as after a callback that took this long.
        self.assertEqual(kite.finish(1), 'started with 1 arguments\n')
        self.assertRegex(kite.stderr, r'\nUncaught Error: buffering 50\n    at onBuffering .*\nprepared,idle,timer\n(Waiting for.*\n)?$')

    def test_inspect_brk_pauses_on_first_line(self):
        kite = Kite('--inspect-brk').attach()
        kite.call('Debugger.enable')
        kite.call('Runtime.runIfWaitingForDebugger')
        paused = kite.wait_for('Debugger.paused')
        self.assertEqual((paused['reason'], paused['callFrames'][0]['location']['lineNumber']), ('Break on start', 3))
        # Ctrl-C ends a paused run too, before the script's first output.
        kite.process.send_signal(signal.SIGINT)
        self.assertEqual(kite.finish(130), '')


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:])
