"""Runs the built distribution in a throwaway Windows 7 (64-bit) prefix and reports what it did."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from winebox import WineBox  # noqa: E402


def report_start_up(box):
    program = box.copy_dist("C:\\Dist")
    print("distribution copied to C:\\Dist")
    code = box.run('"%s" s' % program)
    print('"%s" s  ->  exit code %s' % (program, code))


def main():
    with WineBox("win7-64") as box:
        report_start_up(box)
    return 0


if __name__ == "__main__":
    sys.exit(main())
