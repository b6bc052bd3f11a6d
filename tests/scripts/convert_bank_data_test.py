#!/usr/bin/env python3
"""The converter of the zengin-code package, run on a small package of the same shape."""

import json
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CONVERTER = ROOT / "scripts" / "convert-bank-data.py"
FIXTURE = ROOT / "tests" / "data" / "bank_data"


def run(package, output, *options):
    return subprocess.run([sys.executable, str(CONVERTER), *options, str(package), str(output)],
                          capture_output=True, text=True)


class ConvertBankData(unittest.TestCase):
    def setUp(self):
        self.work = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.work)

    def copy_package(self):
        package = self.work / "package"
        shutil.copytree(FIXTURE / "package", package)
        return package

    def test_package_becomes_sorted_half_width_list(self):
        # Voicing marks split, ヴ as ｳﾞ, dashes and full-width letters, digits,
        # dots and brackets folded, banks and branches sorted by code, a bank
        # without branches kept.
        output = self.work / "banks.tsv"
        result = run(FIXTURE / "package", output)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(output.read_bytes(), (FIXTURE / "expected.tsv").read_bytes())

    def test_same_package_gives_same_bytes(self):
        first, second = self.work / "a.tsv", self.work / "b.tsv"
        self.assertEqual(run(FIXTURE / "package", first).returncode, 0)
        self.assertEqual(run(FIXTURE / "package", second).returncode, 0)
        self.assertEqual(first.read_bytes(), second.read_bytes())

    def test_version_without_date_needs_one(self):
        package = self.copy_package()
        (package / "package.json").write_text(json.dumps({"version": "2.0.0"}))
        output = self.work / "banks.tsv"
        result = run(package, output)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("--date", result.stderr)
        self.assertFalse(output.exists())
        self.assertEqual(run(package, output, "--date", "2025-02-03").returncode, 0)
        self.assertEqual(output.read_text(encoding="utf-8").splitlines()[0],
                         "#zengin-code\t2.0.0\t2025-02-03")

    def test_kana_a_bank_file_cannot_hold_is_refused(self):
        # A kanji among the kana would make every name check of that branch fail:
        # the update stops and names the entry instead of shipping it.
        package = self.copy_package()
        data = package / "lib" / "zengin-data.js"
        data.write_text(data.read_text(encoding="utf-8").replace("ホウジンダイニ", "ホウジン第二"),
                        encoding="utf-8")
        output = self.work / "banks.tsv"
        result = run(package, output)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("bank 0310 branch 102", result.stderr)
        self.assertFalse(output.exists())

    def test_codes_of_the_wrong_length_are_refused(self):
        package = self.copy_package()
        data = package / "lib" / "zengin-data.js"
        data.write_text(data.read_text(encoding="utf-8").replace('"9900": {', '"990": {'),
                        encoding="utf-8")
        result = run(package, self.work / "banks.tsv")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("'990'", result.stderr)

    def test_shipped_list_has_the_same_shape(self):
        lines = (ROOT / "data" / "banks.tsv").read_text(encoding="utf-8").splitlines()
        self.assertRegex(lines[0], r"^#zengin-code\t\S+\t\d{4}-\d{2}-\d{2}$")
        codes = [line.split("\t")[0] for line in lines[1:]]
        self.assertEqual(len(codes[0]), 4)
        banks = [code for code in codes if len(code) == 4]
        self.assertEqual(banks, sorted(set(banks)))
        self.assertTrue(all(len(line.split("\t")) == 3 for line in lines[1:]))
        self.assertLess((ROOT / "data" / "banks.tsv").stat().st_size, 2 * 1024 * 1024)


if __name__ == "__main__":
    unittest.main()
