"""The Wine harness: the real setup.exe run in throwaway Windows machines and looked at from
outside, as an administrator or a user would. The end-to-end tests (tests/e2e), the demonstration
(scripts/demo.py) and the benchmark (bench/bench.py) all stand on it.

    box           WineBox: a fresh copy of one of the run's pristine prefixes; running programs
                  through the launcher, files, registry, links read with lnkinfo
    wizard        an X display, a WineBox on it and the wizard driven with the mouse and keys,
                  read through the probe, seen in screenshots
    silent_setup  SilentSetup: a distribution in a box, run silently, and its installation
    machine       a whole box before and after (snapshot, machine_differences) and the registry
                  and file readers that go with it
    faults        faults from outside: a file held open, a window that will not close, a service
                  tool that never returns
    product       the names setup installs under and its failure exit code

Everything it needs comes from the environment the test run, run.sh or bench.sh sets:
SETUP_TEST_ROOT (the run's pristine prefixes and home), SETUP_DIST_DIR, SETUP_TEST_SUPPORT (the
folder of prefixes.sh), SETUP_LAUNCHER, and for the faults SETUP_FAULTS_PROGRAM. Its folder,
tests/support, goes on the module path (PYTHONPATH, or sys.path in the scripts)."""
