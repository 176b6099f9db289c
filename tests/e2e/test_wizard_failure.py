"""An install that fails says so: the wizard shows "Installation failed", never success, and the
exit code tells deployment tools."""

import unittest

from wine_harness.wizard import ACTION, HEADING, IDOK, LAUNCH, XDisplay, WizardSession, shown, text


class FailedInstall(unittest.TestCase):
    def test_refused_settings_end_in_the_failed_state(self):
        with XDisplay() as display, WizardSession(display) as session:
            box = session.box
            # A folder name that would place the application outside the programs folder.
            box.write_text("C:\\Setup\\setup.ini",
                           "[Startup]\nAppName=Korvane HW RAID Manager\n"
                           "[Customized_Setting]\nAPPFolderName=..\nAPPFileName=DIVodeZivar.exe\n")
            programs_before = box.listdir(box.program_files)
            exit_code = session.start('"%s"' % session.program)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the wizard")
            session.click_control(wizard, ACTION)

            # The sequence explains the problem in its own box; the user reads it and clicks OK.
            seen = session.wait_for(lambda s: s["boxes"], "the failure message")
            failure = seen["boxes"][0]
            self.assertEqual("Fail", failure["title"])
            self.assertIn("..", failure["text"])
            left, top, right, bottom = failure["buttons"][0]["rect"]
            display.click((left + right) // 2, (top + bottom) // 2)

            wizard = session.wait_for_wizard(lambda w: shown(w, IDOK), "Finish", timeout=120)
            self.assertEqual("Installation failed", text(wizard, HEADING))
            self.assertFalse(wizard["controls"][str(LAUNCH)]["visible"])
            session.click_control(wizard, IDOK)
            self.assertEqual(1603, exit_code())
            self.assertEqual(programs_before, box.listdir(box.program_files), "nothing installed")
            self.assertEqual([], session.look()["apps"])


if __name__ == "__main__":
    unittest.main()
