#!/usr/bin/env python3
"""The monkey's checks on made-up files: list files, the "MIDI Log" notes,
sanitizer reports and the scratch program folder."""
import os
import random
import subprocess
import sys
import time
import tempfile
import threading
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "missing"))
sys.path.insert(0, HERE)
import monkey  # noqa: E402
import monkey_checks  # noqa: E402
import monkey_content  # noqa: E402


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def list_bytes(entries):
    numbers = [3] + [n for entry in entries for n in entry]
    return b"".join(b"%d\r\n" % n for n in numbers)


class ListFiles(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.plan = [(4, 10, 2), (-1, 1, 0), (-1, 1, 0)]
        self.waiting = [(1, 1, 0)] * 30
        self.waiting[4] = (0, 10, 0)

    def problems(self, plan=None, waiting=None):
        write(os.path.join(self.folder, "ListeUeplan.ztl"), plan or list_bytes(self.plan))
        write(os.path.join(self.folder, "ListeWarten.ztl"), waiting or list_bytes(self.waiting))
        return monkey_checks.list_problems(self.folder)

    def test_lists_as_the_program_writes_them_are_valid(self):
        self.assertEqual(self.problems(), [])

    def test_the_learner_the_monkey_starts_as_has_valid_lists(self):
        for seed in range(20):
            monkey_checks.write_learner_lists(self.folder, random.Random(seed))
            self.assertEqual(monkey_checks.list_problems(self.folder), [], f"seed {seed}")

    def test_damaged_files_are_named(self):
        whole = list_bytes(self.plan)
        self.assertIn("does not end with CR LF", self.problems(plan=whole[:-1])[0])
        self.assertIn("has 7 lines", self.problems(plan=b"3\r\n" + b"1\r\n" * 6)[0])
        self.assertIn("not a number", self.problems(plan=whole.replace(b"10\r\n", b"x\r\n"))[0])
        self.assertEqual(self.problems(), [])
        os.remove(os.path.join(self.folder, "ListeWarten.ztl"))
        self.assertIn("cannot be read", monkey_checks.list_problems(self.folder)[0])

    def test_entries_that_contradict_each_other_are_named(self):
        self.waiting[4] = (1, 10, 0)
        self.assertEqual(self.problems(), ["lesson 4 is in the plan and still waiting"])
        self.waiting[4] = (0, 10, 0)
        self.plan[1] = (4, 3, 0)
        self.assertIn("a lesson twice in the plan", self.problems()[0])
        self.plan[1] = (30, 3, 0)
        self.assertIn("out of range", self.problems()[0])
        self.plan[1] = (-1, 1, 0)
        self.waiting[7] = (2, 1, 0)
        self.assertIn("waiting entry 7", self.problems()[0])


class MidiLogNotes(unittest.TestCase):
    def setUp(self):
        self.path = os.path.join(tempfile.mkdtemp(), "midi.log")
        self.log = monkey_checks.MidiLog(self.path)

    def append(self, text):
        with open(self.path, "ab") as f:
            f.write(text.encode())

    def test_a_note_sounds_until_its_note_off(self):
        self.append("100 90 28 64\n200 91 2D 50\n300 80 28 00\n")
        self.assertEqual(self.log.sounding(), ["channel 2 key 45"])
        self.append("400 91 2D 00\n")
        self.assertEqual(self.log.sounding(), [])

    def test_all_notes_off_ends_only_its_own_channel(self):
        self.append("1 90 28 64\n2 99 25 64\n3 B0 7B 00\n")
        self.assertEqual(self.log.sounding(), ["channel 10 key 37"])

    def test_a_line_still_being_written_is_read_when_complete(self):
        self.append("1 90 28 64\n2 80 2")
        self.assertEqual(self.log.sounding(), ["channel 1 key 40"])
        self.append("8 00\n")
        self.assertEqual(self.log.sounding(), [])

    def test_a_new_program_starts_with_nothing_sounding(self):
        self.append("1 90 28 64\nF0 7E 7F 09 01 F7\n")
        self.log.restart()
        self.append("2 90 2A 64\n")
        self.assertEqual(self.log.sounding(), ["channel 1 key 42"])


class StopsReported(unittest.TestCase):
    def test_only_the_transports_return_to_ready_counts_as_a_stop(self):
        log = ("ZUPFARI-TIME engine-start 104282.6\nZUPFARI-TIME point 4 104292.1\n"
               "ZUPFARI-TIME transport-ready 110796.2\nZUPFARI-TIME engine-start 120000.0\n")
        self.assertEqual(monkey_checks.stops_reported(log), 1)
        self.assertEqual(monkey_checks.stops_reported(log + "ZUPFARI-TIME transport-ready 121000.0\n"), 2)
        self.assertEqual(monkey_checks.stops_reported("ZUPFARI-BOX transport-ready\n"), 0)


class SanitizerReports(unittest.TestCase):
    def test_the_report_runs_from_its_first_line_to_its_summary(self):
        log = ("ZUPFARI-TIME greeting 900\n==1==ERROR: AddressSanitizer: heap-use-after-free\n"
               "    #0 0x1 in TForm1::Foo\nSUMMARY: AddressSanitizer: heap-use-after-free\nmore\n")
        report = monkey_checks.sanitizer_report(log)
        self.assertTrue(report.startswith("==1==ERROR: AddressSanitizer"))
        self.assertTrue(report.endswith("SUMMARY: AddressSanitizer: heap-use-after-free"))
        self.assertIn("app/x.cpp:3:5: runtime error: signed integer overflow",
                      monkey_checks.sanitizer_report("a\napp/x.cpp:3:5: runtime error: signed "
                                                     "integer overflow\n"))
        self.assertEqual(monkey_checks.sanitizer_report("ZUPFARI-BOX Fehler | kaputt\n"), "")


    LEAK = ("==7==ERROR: LeakSanitizer: detected memory leaks\n\n"
            "Indirect leak of 56 byte(s) in 1 object(s) allocated from:\n"
            "    #0 0x7f27 in __interceptor_calloc asan_malloc_linux.cpp:77\n"
            "    #1 0x7f27a  (<unknown module>)\n\n"
            "{second}"
            "SUMMARY: AddressSanitizer: 112 byte(s) leaked in 2 allocation(s).\n")

    def test_a_leak_only_of_unloaded_plugins_is_no_finding_but_one_of_ours_is(self):
        unloaded = self.LEAK.format(second="Indirect leak of 56 byte(s) in 1 object(s) "
                                    "allocated from:\n    #0 0x7f27 in __interceptor_calloc\n"
                                    "    #1 0x7f27b  (<unknown module>)\n\n")
        self.assertEqual(monkey_checks.sanitizer_report("a\n" + unloaded), "")
        self.assertTrue(monkey_checks.only_plugin_leaks("a\n" + unloaded))
        self.assertFalse(monkey_checks.only_plugin_leaks("ZUPFARI-TIME greeting 900\n"))
        ours = self.LEAK.format(second="Direct leak of 40 byte(s) in 1 object(s) allocated "
                                "from:\n    #0 0x7f27 in operator new\n    #1 0x5571 in "
                                "app::TForm1::OpenLesson() app/x.cpp:9\n"
                                "    #2 0x7f27c  (<unknown module>)\n\n")
        self.assertIn("OpenLesson", monkey_checks.sanitizer_report(ours))
        self.assertFalse(monkey_checks.only_plugin_leaks(ours))


class ProgramFolder(unittest.TestCase):
    def setUp(self):
        root = tempfile.mkdtemp()
        self.program = os.path.join(root, "bin")
        self.content = os.path.join(root, "content")
        write(os.path.join(self.program, "ZupfariBasis"), b"\x7fELF")
        os.chmod(os.path.join(self.program, "ZupfariBasis"), 0o755)
        write(os.path.join(self.program, "libSequenzor.so"), b"lib")
        for lesson in range(10):
            write(os.path.join(self.content, f"lektion{lesson}", "MainWin.zs1"), b"x" * 100)
            write(os.path.join(self.content, "Bilder", f"bild{lesson}.jpg"), b"y" * 100)
        self.root = root

    def make(self, name, seed):
        target = os.path.join(self.root, name)
        return target, monkey_content.make_program_folder(self.program, self.content, target, seed)

    def test_the_program_file_is_its_own_and_the_content_is_all_there(self):
        target, damage = self.make("whole", None)
        self.assertEqual(damage, [])
        self.assertFalse(os.path.islink(os.path.join(target, "ZupfariBasis")))
        self.assertTrue(os.path.islink(os.path.join(target, "libSequenzor.so")))
        for lesson in range(10):
            self.assertTrue(os.path.exists(os.path.join(target, f"lektion{lesson}", "MainWin.zs1")))

    def test_one_seed_damages_the_same_files_every_time(self):
        first, damage = self.make("a", 5)
        _, again = self.make("b", 5)
        _, other = self.make("c", 6)
        self.assertEqual(damage, again)
        self.assertNotEqual(damage, other)
        for line in damage:
            how, rel = line.split()[:2]
            path = os.path.join(first, rel)
            if how == "remove":
                self.assertFalse(os.path.exists(path))
            else:
                self.assertFalse(os.path.islink(path))
                if how == "cut":
                    self.assertLess(os.path.getsize(path), 100)


class FavouredControls(unittest.TestCase):
    """The monkey finds the exercise's controls by the names the program
    gives them; a renamed text would quietly make them plain controls."""

    def test_every_favoured_name_is_a_text_of_the_program(self):
        with open(os.path.join(HERE, "..", "..", "sprachbank", "texttable.cpp"),
                  encoding="utf-8") as f:
            table = f.read()
        for name in sorted(monkey.TRANSPORT_NAMES | monkey.OPENING_NAMES):
            self.assertIn(f'"{name}"', table, name)
        for prefix in monkey.OPENING_PREFIXES:
            self.assertIn(f'"{prefix.strip()}', table, prefix)
        self.assertLessEqual(monkey.PLAY_NAMES | monkey.STOP_NAMES, monkey.TRANSPORT_NAMES)

    def test_a_disabled_control_is_clicked_less_than_any_enabled_one(self):
        self.assertLess(monkey.control_weight("Play", False), monkey.control_weight("x", True))
        self.assertGreater(monkey.control_weight("Stopp", True), monkey.control_weight("x", True))


class CaughtUp(unittest.TestCase):
    """A Stop is judged only after the program has answered a ping sent
    after it: an answer to an older ping says nothing about the Stop."""

    def watch(self, sent, answered):
        watch = monkey.PingWatch.__new__(monkey.PingWatch)
        watch.stamp, watch.answered_stamp = sent, answered
        return watch

    def test_only_an_answer_to_a_later_ping_counts(self):
        watch = self.watch(sent=7, answered=7)
        self.assertFalse(watch.caught_up(0.2))
        threading.Timer(0.1, lambda: setattr(watch, "answered_stamp", 8)).start()
        self.assertTrue(watch.caught_up(2.0))


class SilentProgram(unittest.TestCase):
    """A program that does not answer is told apart from one that waits in
    its event loop while the machine is busy."""

    def run_python(self, code):
        process = subprocess.Popen([sys.executable, "-c", code])
        self.addCleanup(process.wait)
        self.addCleanup(process.kill)
        time.sleep(0.5)
        return process.pid

    def test_a_thread_waiting_in_poll_is_back_in_its_event_loop(self):
        pid = self.run_python("import select; select.poll().poll(20000)")
        self.assertTrue(monkey.back_in_event_loop(pid))

    def test_a_thread_asleep_elsewhere_is_a_hang_and_one_waiting_for_a_core_is_not(self):
        child = subprocess.Popen([sys.executable, "-c", "import time; time.sleep(60)"])
        try:
            time.sleep(0.5)
            cpu, state = monkey.thread_cpu_and_state(child.pid)
            self.assertEqual(state, "S")
            self.assertEqual(monkey.judge_silence(child.pid, cpu), "hang")
        finally:
            child.kill()
            child.wait()
        self.assertEqual(monkey.silence_verdict(1.0, ["R", "R", "S", "R"]), "starved")
        self.assertEqual(monkey.silence_verdict(monkey.HANG_S + 1, ["R"] * 4), "hang")
        self.assertEqual(monkey.silence_verdict(0.1, ["S", "S", "S", "R"]), "hang")

    def test_a_thread_that_never_waits_is_not(self):
        pid = self.run_python("while True: pass")
        self.assertFalse(monkey.back_in_event_loop(pid, 1.0))


if __name__ == "__main__":
    unittest.main()
