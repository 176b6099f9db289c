"""A user without a mouse, on a display at 120 dpi (the 125% setting): installs the application
with the keyboard alone (Tab, Space, Enter, Esc), leaves "launch" ticked, and later removes it,
after leaving the removal wizard once with Esc. On a real X display; what has the focus, which
button is the default one and what the checkbox holds are read by the probe. The screenshots go
to the build folder's test-output."""

import os
import unittest

from wine_harness.box import ROOT
from wine_harness.product import APP_NAME
from wine_harness.wizard import (ACTION, IDCANCEL, IDOK, LAUNCH, XDisplay, WizardSession,
                                 save_wizard_png, shown)

OUTPUT = os.path.join(os.path.dirname(ROOT), "test-output")


def focus_and_default(wizard):
    return wizard["focus"], wizard["default"]


def checked(wizard):
    return wizard["controls"][str(LAUNCH)]["checked"]


class KeyboardOnly(unittest.TestCase):
    def test_install_and_removal_with_keys_only_at_120_dpi(self):
        with XDisplay() as display, WizardSession(display, dpi=120) as session:
            box = session.box
            folder = box.program_files + "\\BRONDL"

            # Install: the focus is on Install, which Enter presses; Tab goes to Cancel and back.
            exit_code = session.start('"%s"' % session.program)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the install wizard")
            self.assertEqual((ACTION, ACTION), focus_and_default(wizard))
            session.park_mouse()
            save_wizard_png(session.wait_until_painted(wizard), wizard,
                            os.path.join(OUTPUT, "wizard-120dpi-ready.png"))
            display.key("Tab")
            session.wait_for_wizard(lambda w: w["focus"] == IDCANCEL, "Tab to Cancel")
            display.key("Tab")
            session.wait_for_wizard(lambda w: w["focus"] == ACTION, "Tab back to Install")
            display.key("Return")

            # Finished: the focus is on Finish; Esc ends nothing; Tab reaches the checkbox, Space
            # clears and ticks it; Enter finishes and the ticked box launches the application.
            wizard = session.wait_for_wizard(lambda w: shown(w, IDOK), "Finish", timeout=120)
            self.assertEqual((IDOK, IDOK), focus_and_default(wizard))
            self.assertTrue(checked(wizard))
            session.park_mouse()
            save_wizard_png(session.wait_until_painted(wizard), wizard,
                            os.path.join(OUTPUT, "wizard-120dpi-finished.png"))
            display.key("Escape")
            display.key("Tab")
            wizard = session.wait_for_wizard(lambda w: w["focus"] == LAUNCH, "Tab to the box")
            self.assertTrue(shown(wizard, IDOK), "Esc left the finished wizard open")
            display.key("space")
            session.wait_for_wizard(lambda w: not checked(w), "Space clears the box")
            display.key("space")
            session.wait_for_wizard(checked, "Space ticks the box again")
            display.key("Return")
            self.assertEqual(0, exit_code())
            seen = session.wait_for(lambda s: s["apps"], "the application's window")
            self.assertEqual(APP_NAME, seen["apps"][0]["title"])
            self.assertTrue(box.exists(folder + "\\Uninstall\\setup.exe"))

            # The removal wizard left with Esc: nothing removed.
            uninstaller = folder + "\\Uninstall\\setup.exe"
            exit_code = session.start('"%s" delpkg' % uninstaller)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the removal wizard")
            self.assertEqual((ACTION, ACTION), focus_and_default(wizard))
            display.key("Escape")
            self.assertEqual(1602, exit_code())
            self.assertTrue(box.exists(uninstaller))

            # Removal with Enter, twice: Remove, then Finish.
            exit_code = session.start('"%s" delpkg' % uninstaller)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the removal wizard")
            display.key("Return")
            wizard = session.wait_for_wizard(lambda w: shown(w, IDOK), "Finish", timeout=120)
            self.assertEqual((IDOK, IDOK), focus_and_default(wizard))
            display.key("Return")
            self.assertEqual(0, exit_code())
            self.assertTrue(box.wait_until(lambda: not box.exists(folder), timeout=60),
                            "the install folder is left")
            self.assertEqual([], session.look()["apps"], "the application was closed")


if __name__ == "__main__":
    unittest.main()
