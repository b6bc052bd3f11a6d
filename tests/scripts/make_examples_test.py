#!/usr/bin/env python3
"""The sample company in examples/ is what examples/make-examples.py writes."""

import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
EXAMPLES = ROOT / "examples"


class MakeExamples(unittest.TestCase):
    def test_the_committed_files_are_the_scripts_output(self):
        # A file edited by hand, or a script changed without running it, drifts
        # apart from the other and the next run of the script undoes the edit.
        work = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, work)
        shutil.copy(EXAMPLES / "make-examples.py", work)
        subprocess.run([sys.executable, str(work / "make-examples.py")], check=True)
        written = sorted(p.name for p in work.iterdir() if p.name != "make-examples.py")
        self.assertIn("tsubakuro.ini", written)
        for name in written:
            with self.subTest(file=name):
                self.assertEqual((work / name).read_bytes(), (EXAMPLES / name).read_bytes())

    def test_the_shipped_program_settings_turn_every_bank_rule_on(self):
        settings = (EXAMPLES / "tsubakuro.ini").read_text(encoding="utf-8").splitlines()
        for rule in ("check_characters", "normalize_names", "check_codes"):
            with self.subTest(rule=rule):
                self.assertIn(f"{rule}=true", settings)


if __name__ == "__main__":
    unittest.main()
