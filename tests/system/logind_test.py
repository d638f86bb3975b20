#!/usr/bin/env python3
"""The Linux power-off and keep-awake services against a mock logind.

Starts a private D-Bus system bus, runs python3-dbusmock's logind template on it and drives
logind_probe (the real window and the real logind code) through it. The real system bus is
never used: the bus address is checked here and again by the probe. Also checks how the
program itself starts with and without a display.
"""

import argparse
import os
import queue
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

import dbus
import dbusmock

MANAGER = 'org.freedesktop.login1.Manager'
POWER_METHODS = ('PowerOff', 'PowerOffWithFlags')
REAL_BUS_SOCKETS = ('/run/dbus/system_bus_socket', '/var/run/dbus/system_bus_socket')
SKIP_INHIBITORS = 0x10
LINE_TIMEOUT_S = 10

ARGS = argparse.Namespace()


def require_private_bus(address):
    if not address or any(socket in address for socket in REAL_BUS_SOCKETS):
        sys.stderr.write(f'refusing to test against the bus at {address!r}\n')
        os.abort()


class Probe:
    """logind_probe on a given system bus, answering one command at a time."""

    def __init__(self, bus_address):
        require_private_bus(bus_address)
        env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=bus_address,
                   SHUTDOWN_TIMER_PRIVATE_BUS=bus_address, QT_QPA_PLATFORM='offscreen')
        self.proc = subprocess.Popen([ARGS.probe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     env=env, text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.strip())
        self.lines.put(None)

    def send(self, command):
        self.proc.stdin.write(command + '\n')
        self.proc.stdin.flush()

    def read(self):
        try:
            line = self.lines.get(timeout=LINE_TIMEOUT_S)
        except queue.Empty:
            line = None
        if line is None:
            raise AssertionError('logind_probe stopped answering')
        return line

    def ask(self, command):
        self.send(command)
        return self.read()

    def close(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
            try:
                self.proc.wait(timeout=LINE_TIMEOUT_S)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc.stdout.close()
        return self.proc.returncode


def parse_messages(data):
    """(flags, member) of every method call in a dbus-monitor --binary capture."""
    calls = []
    offset = 0
    while offset + 16 <= len(data):
        endian = '<' if data[offset:offset + 1] == b'l' else '>'
        kind, flags = data[offset + 1], data[offset + 2]
        body_length, _, fields_length = struct.unpack_from(endian + 'III', data, offset + 4)
        fields_end = offset + 16 + fields_length
        member = None
        at = offset + 16
        while at < fields_end:
            at += -(at - offset) % 8
            code, signature_length = data[at], data[at + 1]
            signature = data[at + 2:at + 2 + signature_length].decode()
            at += 3 + signature_length
            if signature in ('s', 'o'):
                at += -(at - offset) % 4
                (length,) = struct.unpack_from(endian + 'I', data, at)
                value = data[at + 4:at + 4 + length].decode()
                at += 5 + length
                if code == 3:
                    member = value
            elif signature == 'g':
                at += 2 + data[at]
            else:  # 'u'
                at += -(at - offset) % 4 + 4
        start_of_body = offset + 16 + fields_length + (-(16 + fields_length) % 8)
        if kind == 1:
            calls.append((flags, member))
        offset = start_of_body + body_length
    return calls


ALLOW_INTERACTIVE_AUTHORIZATION = 0x4


class LogindTest(dbusmock.DBusTestCase):
    @classmethod
    def setUpClass(cls):
        cls.start_system_bus()
        cls.bus_address = os.environ['DBUS_SYSTEM_BUS_ADDRESS']
        require_private_bus(cls.bus_address)
        cls.mock_proc = None

    def open_probe(self):
        self.probe = Probe(self.bus_address)
        self.addCleanup(self.close_probe, self.probe)

    def close_probe(self, probe):
        self.assertEqual(probe.close(), 0, 'logind_probe crashed')

    def start_logind(self, can_power_off='yes', with_flags=True, flags_error=None):
        """The mock logind; without flags it is one older than PowerOffWithFlags."""
        proc, obj = self.spawn_server_template('logind', {'CanPowerOff': can_power_off},
                                               stdout=subprocess.DEVNULL)
        self.addCleanup(self.stop_logind, proc)
        self.mock = dbus.Interface(obj, dbusmock.MOCK_IFACE)
        self.manager = dbus.Interface(obj, MANAGER)
        if with_flags:
            code = ''
            if flags_error:
                code = f'raise dbus.exceptions.DBusException("refused", name="{flags_error}")'
            self.mock.AddMethod(MANAGER, 'PowerOffWithFlags', 't', '', code)

    @staticmethod
    def stop_logind(proc):
        proc.terminate()
        proc.wait()

    def calls(self, names=('CanPowerOff',) + POWER_METHODS):
        return [(str(name), [a for a in args]) for _, name, args in self.mock.GetCalls()
                if name in names]

    def power_calls(self):
        return self.calls(POWER_METHODS)

    def inhibitors(self):
        return [tuple(str(v) for v in row[:4]) for row in self.manager.ListInhibitors()]

    def wait_for_no_inhibitor(self):
        deadline = time.monotonic() + 3
        while self.inhibitors() and time.monotonic() < deadline:
            time.sleep(0.05)
        return self.inhibitors()

    def run_countdown(self, seconds):
        """Confirms an entry, cuts the count to seconds, returns [(caption, power calls so far)]."""
        self.probe.send(f'countdown {seconds}')
        self.assertEqual(self.probe.read(), 'confirmed')
        ticks = []
        while True:
            line = self.probe.read()
            if line.startswith('end '):
                return ticks, line
            self.assertTrue(line.startswith('caption '), line)
            calls = len(self.power_calls()) if hasattr(self, 'mock') else 0
            ticks.append((line.split()[1], calls))

    def assert_held_idle_inhibitor(self):
        self.assertEqual(len(self.inhibitors()), 1)
        what, who, why, mode = self.inhibitors()[0]
        self.assertEqual((what, who, mode), ('idle', 'Shutdown Timer', 'block'))
        self.assertTrue(why)

    def test_countdown_powers_off_once_with_force_on_the_last_tick(self):
        self.start_logind('yes')
        with tempfile.TemporaryFile() as capture:
            monitor = subprocess.Popen(['dbus-monitor', '--address', self.bus_address, '--binary'],
                                       stdout=capture, stderr=subprocess.DEVNULL)
            try:
                time.sleep(0.3)  # monitoring from here on
                self.open_probe()
                self.check_countdown_to_power_off()
            finally:
                monitor.terminate()
                monitor.wait()
            capture.seek(0)
            calls = parse_messages(capture.read())
        members = [member for _, member in calls]
        for method in ('CanPowerOff', 'PowerOffWithFlags', 'Inhibit'):
            self.assertIn(method, members)
        # Nobody may be at the machine to answer a password prompt.
        self.assertEqual([member for flags, member in calls
                          if flags & ALLOW_INTERACTIVE_AUTHORIZATION], [])

    def check_countdown_to_power_off(self):
        started = time.monotonic()
        self.probe.send('countdown 3')
        self.assertEqual(self.probe.read(), 'confirmed')
        self.assert_held_idle_inhibitor()
        ticks = []
        for _ in range(3):
            line = self.probe.read()
            ticks.append((line, len(self.power_calls())))
        self.assertEqual(ticks, [('caption 3', 0), ('caption 2', 0), ('caption 1', 1)])
        self.assertAlmostEqual(time.monotonic() - started, 3.0, delta=0.5)
        self.assertEqual(self.probe.read(), 'end caption=1 count=0')  # no fourth tick
        self.assertEqual(self.calls(), [('CanPowerOff', []),
                                        ('PowerOffWithFlags', [SKIP_INHIBITORS])])
        self.assertEqual(self.wait_for_no_inhibitor(), [])  # released, the probe still runs

    def test_no_request_unless_logind_says_yes(self):
        for answer in ('challenge', 'no', 'na'):
            with self.subTest(answer):
                self.start_logind(answer)
                self.open_probe()
                self.assertEqual(self.probe.ask('power'), 'power 0')
                self.assertEqual(self.calls(), [('CanPowerOff', [])])
                ticks, end = self.run_countdown(1)
                self.assertEqual(ticks, [('1', 0)])
                self.assertEqual(end, 'end caption=1 count=0')  # timer stopped
                self.assertEqual(self.power_calls(), [])
                self.assertEqual(self.wait_for_no_inhibitor(), [])
                self.doCleanups()

    def test_older_logind_powers_off_without_flags(self):
        self.start_logind('yes', with_flags=False)
        self.open_probe()
        self.assertEqual(self.probe.ask('power'), 'power 1')
        self.assertEqual(self.calls(), [('CanPowerOff', []), ('PowerOff', [False])])

    def test_refused_power_off_is_not_retried_the_old_way(self):
        self.start_logind('yes', flags_error='org.freedesktop.DBus.Error.AccessDenied')
        self.open_probe()
        self.assertEqual(self.probe.ask('power'), 'power 0')
        self.assertEqual(self.calls(), [('CanPowerOff', []),
                                        ('PowerOffWithFlags', [SKIP_INHIBITORS])])

    def test_bus_without_logind(self):
        self.open_probe()
        self.assertEqual(self.probe.ask('power'), 'power 0')
        self.assertEqual(self.probe.ask('awake 1'), 'awake 0')
        ticks, end = self.run_countdown(1)
        self.assertEqual([caption for caption, _ in ticks], ['1'])
        self.assertEqual(end, 'end caption=1 count=0')

    def test_keep_awake_holds_one_idle_inhibitor_until_released(self):
        self.start_logind('yes')
        self.open_probe()
        self.assertEqual(self.probe.ask('awake 1'), 'awake 1')
        self.assert_held_idle_inhibitor()
        self.assertEqual(self.probe.ask('awake 1'), 'awake 1')
        self.assert_held_idle_inhibitor()  # holding twice is holding once
        self.assertEqual(self.probe.ask('awake 0'), 'awake 1')
        self.assertEqual(self.wait_for_no_inhibitor(), [])
        self.assertEqual(self.probe.ask('awake 0'), 'awake 1')
        self.assertEqual(self.probe.ask('awake 1'), 'awake 1')  # and can be taken again
        self.assert_held_idle_inhibitor()


class NoSystemBusTest(unittest.TestCase):
    def test_power_off_and_keep_awake_fail_quietly(self):
        with tempfile.TemporaryDirectory() as directory:
            probe = Probe(f'unix:path={directory}/no-bus-here')
            try:
                self.assertEqual(probe.ask('power'), 'power 0')
                self.assertEqual(probe.ask('awake 1'), 'awake 0')
            finally:
                self.assertEqual(probe.close(), 0)


class StartupTest(unittest.TestCase):
    """The program itself, without and with a display. It never counts down here."""

    def run_program(self, **env_changes):
        env = {k: v for k, v in os.environ.items()
               if k not in ('DISPLAY', 'WAYLAND_DISPLAY', 'QT_QPA_PLATFORM')}
        env.update(env_changes)
        env['DBUS_SYSTEM_BUS_ADDRESS'] = 'unix:path=/nonexistent/shutdown-timer-test'
        return subprocess.Popen([ARGS.program], env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True)

    def test_without_a_display_the_program_says_so_and_exits_with_minus_one(self):
        for what, env in (('nothing set', {}), ('unreachable X display', {'DISPLAY': ':4711'}),
                          ('xcb without DISPLAY', {'QT_QPA_PLATFORM': 'xcb'})):
            with self.subTest(what):
                proc = self.run_program(**env)
                _, err = proc.communicate(timeout=20)
                self.assertEqual(proc.returncode, 255)  # -1
                self.assertIn('display', err)

    def test_with_a_display_the_window_stays_up(self):
        proc = self.run_program(QT_QPA_PLATFORM='offscreen')
        try:
            with self.assertRaises(subprocess.TimeoutExpired):
                proc.wait(timeout=1.5)
        finally:
            proc.terminate()
            proc.communicate(timeout=10)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--probe', required=True)
    parser.add_argument('--program', required=True)
    known, rest = parser.parse_known_args()
    ARGS.probe, ARGS.program = known.probe, known.program
    # ctest ends a test that runs too long with SIGTERM: unwind, so that the buses, the mock and
    # the probe are stopped by the usual clean-ups.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == '__main__':
    main()
