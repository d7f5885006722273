#!/usr/bin/env python3
"""WMI from scripts, compared with the live system as this test reads it itself: the
operating system (/etc/os-release, uname), the computer (hostname, CPUs, memory), the
disks (statvfs), the processes (/proc), a process created and terminated, and WQL's
operators and errors. Usage: test_wmi.py PATH/TO/vbsrun"""
import os
import platform
import socket
import subprocess
import sys
import tempfile
import time
import unittest

VBSRUN = None

CONNECT = 'Set wmi = GetObject("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2")\n'


def vbs(text, *options):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "wmi.vbs")
        with open(path, "w", encoding="utf-8") as f:
            f.write(CONNECT + text)
        run = subprocess.run([VBSRUN, *options, path], capture_output=True, timeout=120, cwd=folder)
    return run.returncode, run.stdout.decode("utf-8"), run.stderr.decode("utf-8")


def os_release(key):
    with open("/etc/os-release") as f:
        for line in f:
            if line.startswith(key + "="):
                return line.split("=", 1)[1].strip().strip('"')
    return None


class Wmi(unittest.TestCase):
    def lines(self, text, *options):
        code, out, err = vbs(text, *options)
        self.assertEqual((code, err), (0, ""), out)
        return out.splitlines()

    def test_operating_system_and_computer(self):
        out = self.lines(
            'For Each os In wmi.ExecQuery("SELECT * FROM Win32_OperatingSystem")\n'
            '  WScript.Echo os.Caption\n  WScript.Echo os.Version\n  WScript.Echo os.CSName\n'
            '  WScript.Echo os.TotalVisibleMemorySize\n  WScript.Echo Left(os.LocalDateTime, 8)\n'
            '  WScript.Echo TypeName(os.TotalVisibleMemorySize) & " " & TypeName(os.NumberOfProcesses)\n'
            'Next\n'
            'For Each cs In wmi.InstancesOf("Win32_ComputerSystem")\n'
            '  WScript.Echo cs.NumberOfLogicalProcessors\n  WScript.Echo cs.TotalPhysicalMemory\n  WScript.Echo cs.Name\n'
            'Next\n')
        with open("/proc/meminfo") as f:
            total_kb = int(f.readline().split()[1])
        self.assertEqual(out[0], os_release("PRETTY_NAME"))
        self.assertEqual(out[1], platform.release())
        self.assertEqual(out[2], socket.gethostname().split(".")[0].upper())
        self.assertEqual(out[3], str(total_kb))
        self.assertEqual(out[4], time.strftime("%Y%m%d"))
        self.assertEqual(out[5], "String Long")  # uint64 as text, uint32 as Long, as on Windows
        self.assertEqual(out[6], str(os.cpu_count()))
        self.assertEqual(out[7], str(total_kb * 1024))
        self.assertEqual(out[8], out[2])

    def test_disks_match_statvfs(self):
        out = self.lines('For Each d In wmi.ExecQuery("Select * From Win32_LogicalDisk Where DeviceID = \'/\'")\n'
                         '  WScript.Echo d.Size & " " & d.FreeSpace & " " & d.DriveType\nNext\n')
        self.assertEqual(len(out), 1)
        size, free, drive_type = out[0].split()
        st = os.statvfs("/")
        self.assertEqual(int(size), st.f_blocks * st.f_frsize)
        self.assertLess(abs(int(free) - st.f_bavail * st.f_frsize), 64 << 20)  # a little may change meanwhile
        self.assertEqual(drive_type, "3")

    def test_processes_match_proc(self):
        sleeper = subprocess.Popen(["sleep", "300"])
        try:
            out = self.lines(
                'For Each p In wmi.ExecQuery("Select * From Win32_Process Where ProcessId = %d")\n'
                '  WScript.Echo p.Name & "|" & p.CommandLine & "|" & p.ParentProcessId & "|" & p.Handle\n'
                'Next\n'
                'WScript.Echo wmi.ExecQuery("Select * From Win32_Process Where Name = \'sleep\'").Count > 0\n'
                'WScript.Echo wmi.ExecQuery("Select * From Win32_Process Where Name = \'sleep.exe\'").Count > 0\n'
                'WScript.Echo wmi.ExecQuery("Select * From Win32_Process Where Name Like \'SLE%%\'").Count > 0\n'
                'n = 0\nFor Each p In wmi.InstancesOf("Win32_Process") : n = n + 1 : Next\nWScript.Echo n\n'
                % sleeper.pid)
            self.assertEqual(out[0], "sleep|sleep 300|%d|%d" % (os.getpid(), sleeper.pid))
            self.assertEqual(out[1:4], ["-1", "-1", "-1"])
            in_proc = len([d for d in os.listdir("/proc") if d.isdigit()])
            self.assertLess(abs(int(out[4]) - in_proc), 20)
        finally:
            sleeper.kill()
            sleeper.wait()

    def test_create_then_terminate(self):
        out = self.lines(
            'Set process = wmi.Get("Win32_Process")\n'
            'r = process.Create("sleep 300", Null, Null, pid)\n'
            'WScript.Echo r & " " & pid\n'
            'WScript.Sleep 300\n'
            'For Each p In wmi.ExecQuery("Select * From Win32_Process Where ProcessId = " & pid)\n'
            '  WScript.Echo p.CommandLine & " " & p.Terminate()\n'
            'Next\n'
            'WScript.Echo wmi.ExecQuery("Select * From Win32_Process Where ProcessId = " & pid).Count\n')
        code, pid = out[0].split()
        self.assertEqual(code, "0")
        self.assertTrue(out[1].endswith("sleep 300 0"), out[1])  # the program as found: /usr/bin/sleep
        self.assertEqual(out[2], "0")
        try:  # gone, or a zombie that nobody reaped (its command line is empty)
            with open("/proc/%s/cmdline" % pid) as f:
                self.assertFalse(f.read().startswith("sleep"))
        except FileNotFoundError:
            pass

    def test_wql_operators(self):
        out = self.lines(
            'q = "Select * From Win32_Process Where "\n'
            'WScript.Echo wmi.ExecQuery(q & "ProcessId = 1 OR (ProcessId > 0 AND ProcessId < 2)").Count\n'
            'WScript.Echo wmi.ExecQuery(q & "NOT ProcessId <> 1").Count\n'
            'WScript.Echo wmi.ExecQuery(q & "ProcessId = 1 And CommandLine Is Not Null").Count\n'
            'WScript.Echo wmi.ExecQuery(q & "ProcessId = 1 AND Name LIKE \'[^z]%\'").Count\n'
            'WScript.Echo wmi.ExecQuery(q & "1 = ProcessId").Count\n'
            'Set p = wmi.ExecQuery("Select Name From Win32_Process Where ProcessId = 1").ItemIndex(0)\n'
            'WScript.Echo IsNull(p.CommandLine) & " " & (p.Name <> "")\n'
            'WScript.Echo wmi.ExecQuery("select * from win32_localtime").ItemIndex(0).Year\n')
        self.assertEqual(out, ["1", "1", "1", "1", "1", "True True", time.strftime("%Y")])

    def test_errors_as_windows_raises_them(self):
        out = self.lines(
            'On Error Resume Next\n'
            'Set r = wmi.ExecQuery("Select * From Win32_Nothing")\nWScript.Echo Hex(Err.Number) : Err.Clear\n'
            'Set r = wmi.ExecQuery("Select * Form Win32_Process")\nWScript.Echo Hex(Err.Number) : Err.Clear\n'
            'Set r = wmi.ExecQuery("Select Nonsense From Win32_Process")\nWScript.Echo Hex(Err.Number) : Err.Clear\n'
            'Set r = wmi.ExecQuery("ASSOCIATORS OF {Win32_Service.Name=\'x\'}")\nWScript.Echo Hex(Err.Number) : Err.Clear\n'
            'Set r = wmi.ExecNotificationQuery("SELECT * FROM __InstanceCreationEvent WITHIN 1")\nWScript.Echo Hex(Err.Number) : Err.Clear\n'
            'Set r = GetObject("winmgmts:\\\\faraway\\root\\cimv2")\nWScript.Echo Err.Number : Err.Clear\n'
            'Set r = GetObject("winmgmts:\\\\.\\root\\nowhere")\nWScript.Echo Hex(Err.Number) : Err.Clear\n'
            'Set r = GetObject("winmgmts:Win32_Process.Handle=\'999999999\'")\nWScript.Echo Hex(Err.Number) : Err.Clear\n'
            'Set os = wmi.ExecQuery("Select * From Win32_OperatingSystem").ItemIndex(0)\n'
            'r = os.Win32Shutdown(1)\nWScript.Echo Hex(Err.Number) : Err.Clear\n')
        self.assertEqual(out, ["80041010", "80041017", "80041017", "8004100C", "8004100C", "462", "8004100E",
                               "80041002", "80041003"])

    def test_every_class_answers(self):
        classes = ["Win32_Process", "Win32_OperatingSystem", "Win32_ComputerSystem", "Win32_Processor",
                   "Win32_LogicalDisk", "Win32_Volume", "Win32_Service", "Win32_BIOS", "Win32_BaseBoard",
                   "Win32_Battery", "Win32_NetworkAdapterConfiguration", "Win32_Environment",
                   "Win32_StartupCommand", "Win32_Printer", "Win32_UserAccount", "Win32_TimeZone", "Win32_LocalTime"]
        script = ""
        for c in classes:
            script += ('n = 0\nFor Each o In wmi.InstancesOf("%s")\n  t = o.GetObjectText_\n'
                       '  For Each prop In o.Properties_ : v = prop.Value : Next\n  n = n + 1\nNext\n'
                       'WScript.Echo "%s " & n\n' % (c, c))
        out = dict(line.split() for line in self.lines(script))
        self.assertGreater(int(out["Win32_Process"]), 1)
        for single in ("Win32_OperatingSystem", "Win32_ComputerSystem", "Win32_TimeZone", "Win32_LocalTime"):
            self.assertEqual(out[single], "1")
        self.assertEqual(int(out["Win32_Environment"]), len(os.environ))
        self.assertGreaterEqual(int(out["Win32_Processor"]), 1)


if __name__ == "__main__":
    VBSRUN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
