"""Runs the built distribution in a throwaway Windows 7 (64-bit) prefix and reports what it did:
the silent install and removal (demo_silent), then the wizard with screenshots (demo_wizard)."""

import os
import sys

# The Wine harness that the end-to-end tests use too.
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "support"))

import demo_silent  # noqa: E402
import demo_wizard  # noqa: E402


def main():
    # Both parts run even when the first fails: the wizard's screenshots still help.
    silent = demo_silent.run()
    wizard = demo_wizard.run()
    return 0 if silent and wizard else 1


if __name__ == "__main__":
    sys.exit(main())
