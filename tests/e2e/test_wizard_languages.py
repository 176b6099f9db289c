"""The wizard speaks the user's language: in a Japanese prefix the Japanese texts, in a
Traditional Chinese one the program's own texts. A CJK font is linked in the test prefix only,
so that the texts are drawn."""

import unittest

from wine_harness.wizard import (ACTION, CLOSE, DESCRIPTION, HEADING, IDCANCEL, IDOK, LAUNCH,
                                 XDisplay, WizardSession, shown, text)


def white_pixels(screen, wizard, x0, y0, x1, y1):
    left, top = wizard["rect"][0], wizard["rect"][1]
    return screen.count((left + x0, top + y0, left + x1, top + y1), lambda p: p == (255, 255, 255))


class Languages(unittest.TestCase):
    def test_japanese_prefix_shows_japanese_texts(self):
        with XDisplay() as display, WizardSession(display, lang="ja_JP.UTF-8",
                                                  cjk_font=True) as session:
            exit_code = session.start('"%s"' % session.program)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the wizard")
            self.assertEqual("インストール", text(wizard, ACTION))
            self.assertEqual("キャンセル", text(wizard, IDCANCEL))
            self.assertEqual("ウィザードは、インストールを開始する準備ができました。",
                             text(wizard, HEADING))
            self.assertEqual("今すぐアプリケーションを起動する", text(wizard, LAUNCH))
            session.park_mouse()
            screen = session.wait_until_painted(wizard)
            self.assertGreater(white_pixels(screen, wizard, 35, 55, 549, 90), 200)

            session.click_control(wizard, ACTION)
            wizard = session.wait_for_wizard(lambda w: shown(w, IDOK), "Finish", timeout=120)
            self.assertEqual("インストール ウィザードは、インストールを正常に完了しました。",
                             text(wizard, HEADING))
            self.assertEqual("「完了」をクリックして、ウィザードを閉じてください。",
                             text(wizard, DESCRIPTION))
            self.assertEqual("完了", text(wizard, IDOK))
            # The close button ends a finished wizard too; the work is done, so all is well.
            session.click_control(wizard, CLOSE)
            self.assertEqual(0, exit_code())

    def test_traditional_chinese_prefix_shows_the_programs_own_texts(self):
        with XDisplay() as display, WizardSession(display, lang="zh_TW.UTF-8",
                                                  cjk_font=True) as session:
            exit_code = session.start('"%s"' % session.program)
            wizard = session.wait_for_wizard(lambda w: shown(w, ACTION), "the wizard")
            self.assertEqual("安裝", text(wizard, ACTION))
            self.assertEqual("取消", text(wizard, IDCANCEL))
            self.assertEqual("精靈已準備就緒，可以開始安裝了。", text(wizard, HEADING))
            self.assertEqual("按一下「安裝」以開始安裝。按一下「取消」結束安裝精靈。",
                             text(wizard, DESCRIPTION))
            self.assertEqual("立即啟動應用程式", text(wizard, LAUNCH))
            session.park_mouse()
            screen = session.wait_until_painted(wizard)
            self.assertGreater(white_pixels(screen, wizard, 35, 55, 549, 90), 200)
            self.assertGreater(white_pixels(screen, wizard, 200, 170, 554, 230), 200)

            # The window has no caption bar: the user moves it by its background. A drag whose
            # events a busy machine delivers too late for the move loop is made again.
            for attempt in range(3):
                left, top = wizard["rect"][0], wizard["rect"][1]
                display.drag(left + 100, top + 300, 60, 40)
                try:
                    wizard = session.wait_for_wizard(
                        lambda w: w["rect"][:2] == [left + 60, top + 40], "the moved window",
                        timeout=10)
                    break
                except AssertionError:
                    if attempt == 2:
                        raise
                    wizard = session.wait_for_wizard(what="the wizard")

            # Cancel before the work: the user left, nothing was installed.
            session.click_control(wizard, IDCANCEL)
            self.assertEqual(1602, exit_code())
            self.assertFalse(session.box.exists(session.box.program_files + "\\BRONDL"))


if __name__ == "__main__":
    unittest.main()
