# kite test in the debugger, and what DevTools shows beside the debugger (async call stacks, the allocation
# timeline, idle time in CPU profiles), through a real protocol client (Debian's python3-websocket):
#   devtools_tests.py KITE PLUGIN [unittest arguments]
import os, re, socket, subprocess, sys, time
import unittest

from inspect_tests import WAITING, Client, die_with_this_test, KITE, PLUGIN

HELD = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'held.js')
HELD_URL = 'file://' + HELD
ASYNC = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'async.js')
# Past kite test's own stop of a stuck file, which allows the limit and two seconds more.
BEYOND_EVERY_LIMIT = 2.5


class Inspected:
    """kite with the arguments given, one of them an inspector option on a free port, and one client."""

    def __init__(self, *args):
        self.process = subprocess.Popen([KITE, '--plugin=' + PLUGIN, *args], stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True, preexec_fn=die_with_this_test)
        self.banner = ''.join(self.process.stderr.readline() for _ in range(4))
        self.url = re.search(r'^Debugger listening on (ws://127\.0\.0\.1:\d+/\S+)$', self.banner, re.M)[1]
        self.client = Client(self.url)

    def stderr_until(self, line):
        return list(iter(self.process.stderr.readline, line))

    def finish(self):
        self.client.close()
        out, err = self.process.communicate(timeout=60)
        return self.process.returncode, out, self.banner + err


class TestsInTheDebugger(unittest.TestCase):
    def test_a_client_holds_a_test_past_its_time_limit(self):
        # The limits are 200 ms, and the client holds each run for longer: the tests still pass.
        passed = (0, r'^(.*/)?held\.js\n  pass pauses at a debugger statement \(\d+ ms\)\n'
                     r'  pass stops at a breakpoint \(\d+ ms\)\n\n2 passed, 0 failed\n$')
        # On virtual time the tests wait for what the clock never brings: once the client lets go, that fails them,
        # and the timers they leave are cancelled.
        stalled = (1, r'^(.*/)?held\.js\nkite test: "pauses at a debugger statement" left 1 timer pending, cancelled '
                      r'now: setTimeout at (.*/)?held\.js:5:47\n  FAIL pauses at a debugger statement \(\d+ ms\)\n      '
                      r'nothing is scheduled on the virtual clock until 50 ms[^\n]*\nkite test: "stops at a breakpoint" '
                      r'left 1 timer pending, cancelled now: setTimeout at (.*/)?held\.js:11:34\n  FAIL stops at a '
                      r'breakpoint \(\d+ ms\)\n      nothing is scheduled on the virtual clock until 10 ms[^\n]*\n\n'
                      r'0 passed, 2 failed\n$')
        # option, clock, breakpoint line (from 0), the pauses in order (reason, function), status and report
        cases = [('--inspect-brk', 'real', None, [('Break on start', ''), ('other', 'pausesAtTheStatement')], passed),
                 ('--inspect-wait', 'real', 11, [('other', 'pausesAtTheStatement'), ('other', 'onTimer')], passed),
                 ('--inspect-wait', 'virtual', 11, [('other', 'pausesAtTheStatement')], stalled)]
        for option, clock, line, pauses, (status, report) in cases:
            with self.subTest(option=option, clock=clock):
                kite = Inspected('test', '--clock=' + clock, '--timeout=200', option + '=127.0.0.1:0', HELD)
                client = kite.client
                client.call('Debugger.enable')
                # Compiled before it waits for the client.
                held = client.wait_for('Debugger.scriptParsed', url=HELD_URL)['scriptId']
                if line is not None:
                    client.call('Debugger.setBreakpointByUrl', url=HELD_URL, lineNumber=line)
                # Waiting for the client holds no limit either.
                time.sleep(BEYOND_EVERY_LIMIT)
                client.call('Runtime.runIfWaitingForDebugger')
                seen = []
                for _ in pauses:
                    paused = client.wait_for('Debugger.paused')
                    frame = paused['callFrames'][0]
                    seen.append((paused['reason'], frame['functionName']))
                    self.assertEqual(frame['location']['scriptId'], held)
                    time.sleep(BEYOND_EVERY_LIMIT)
                    client.call('Debugger.resume')
                self.assertEqual(seen, pauses)
                # Done, the run ends with the client still attached.
                kite.process.wait(timeout=60)
                returncode, out, err = kite.finish()
                self.assertEqual(returncode, status, err)
                self.assertRegex(out, report)
                # Only the file's end ends its run, which the client does not hold.
                self.assertEqual(err.split('\n')[4:], ['Debugger attached.', ''])

    def test_a_port_in_use_is_a_usage_error(self):
        held = socket.create_server(('127.0.0.1', 0))
        port = held.getsockname()[1]
        for option in '--inspect', '--inspect-brk':
            with self.subTest(option):
                run = subprocess.run([KITE, '--plugin=' + PLUGIN, 'test', '%s=127.0.0.1:%d' % (option, port), HELD],
                                     capture_output=True, text=True, timeout=60)
                self.assertEqual((run.returncode, run.stdout), (2, ''), run.stderr)
                self.assertRegex(run.stderr, r'^kite: --inspect: cannot listen on 127\.0\.0\.1:%d: .*Address already '
                                             r'in use\n$' % port)
        held.close()


class BesideTheDebugger(unittest.TestCase):
    def test_async_call_stacks_across_timers_promise_jobs_player_events_and_afterIdle_calls(self):
        timer = ('setTimeout', ['armTimer', ''])
        job = ('Promise.then', ['onTimer'])
        event = ('callback', ['listen', 'onJob'])
        idle = ('kite.afterIdle', ['onPrepared'])
        # Debugger.setAsyncCallStackDepth, and each pause's function and async stack: (description, functions)...
        interval = ('setInterval', ['onIdle'])
        cases = [(32, [('onTimer', [timer]), ('onJob', [job, timer]), ('onPrepared', [event, job, timer]),
                       ('onIdle', [idle, event, job, timer]), ('onTick', [interval, idle, event, job, timer])]),
                 (1, [('onTimer', [timer]), ('onJob', [job]), ('onPrepared', [event]), ('onIdle', [idle]),
                      ('onTick', [interval])]),
                 (0, [('onTimer', []), ('onJob', []), ('onPrepared', []), ('onIdle', []), ('onTick', [])])]
        for depth, pauses in cases:
            with self.subTest(depth=depth):
                kite = Inspected('--adapter=sim', '--inspect-wait=127.0.0.1:0', ASYNC)
                client = kite.client
                client.call('Debugger.enable')
                client.call('Debugger.setAsyncCallStackDepth', maxDepth=depth)
                client.call('Runtime.runIfWaitingForDebugger')
                seen = []
                for _ in pauses:
                    paused = client.wait_for('Debugger.paused')
                    chain, stack = [], paused.get('asyncStackTrace')
                    while stack:
                        chain.append((stack['description'], [frame['functionName'] for frame in stack['callFrames']]))
                        stack = stack.get('parent')
                    seen.append((paused['callFrames'][0]['functionName'], chain))
                    client.call('Debugger.resume')
                self.assertEqual(seen, pauses)
                self.assertEqual(kite.finish()[:2], (0, ''))

    def test_the_allocation_timeline_gets_heap_statistics(self):
        kite = Inspected('--adapter=sim', '--inspect-wait=127.0.0.1:0', ASYNC)
        client = kite.client
        client.call('HeapProfiler.enable')
        client.call('HeapProfiler.startTrackingHeapObjects', trackAllocations=True)
        client.call('Runtime.runIfWaitingForDebugger')
        # Triplets of a fragment's index, its object count and its size; the first covers the whole heap.
        stats = client.wait_for('HeapProfiler.heapStatsUpdate')['statsUpdate']
        self.assertEqual((len(stats) % 3, stats[0]), (0, 0))
        self.assertGreater(sum(stats[2::3]), 100000)
        # And on they go, while the script is held after its end.
        kite.stderr_until(WAITING)
        seen = [client.wait_for('HeapProfiler.lastSeenObjectId')['timestamp'] for _ in range(3)]
        self.assertEqual(seen, sorted(set(seen)))
        client.call('HeapProfiler.stopTrackingHeapObjects')
        self.assertEqual(kite.finish()[:2], (0, ''))

    def test_the_main_loop_waiting_is_idle_time_in_a_cpu_profile(self):
        kite = Inspected('--adapter=sim', '--inspect-wait=127.0.0.1:0', ASYNC)
        client = kite.client
        client.call('Runtime.runIfWaitingForDebugger')
        kite.stderr_until(WAITING)
        client.call('Profiler.enable')
        client.call('Profiler.start')
        time.sleep(1)
        profile = client.call('Profiler.stop')['profile']
        hits = {}
        for node in profile['nodes']:
            name = node['callFrame']['functionName']
            hits[name] = hits.get(name, 0) + node.get('hitCount', 0)
        busiest = max(hits, key=hits.get)
        # With nothing left but waiting, the waiting is most of it.
        self.assertEqual(busiest, '(idle)', hits)
        self.assertGreater(hits['(idle)'], len(profile['samples']) / 2, hits)
        self.assertEqual(kite.finish()[:2], (0, ''))

if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:])
