"""The memo on the real program: Alt+E on the panel opens it, the typed text is in Memo.txt
beside the program once its window is closed, and the next Alt+E shows it again."""

import unittest

from mivra_e2e import MivraSession, data_file, main, needs_display, wait_until

MEMO_CAPTION = "^Mivra 备忘录$"


@needs_display
class Memo(unittest.TestCase):
    def test_alt_e_opens_the_memo_and_closing_it_writes_memo_txt(self):
        files = {"Mivra.cfg": data_file([("工具", [])])}
        with MivraSession(self.id(), files=files) as s:
            s.wait_for_window()
            s.key("alt+e", activate=True)
            memo = s.wait_for_window(MEMO_CAPTION, timeout=15)
            s.type_text("call home at 5", wid=memo)
            s.screenshot("memo", window=False)
            s.close_window(wid=memo)
            self.assertTrue(wait_until(lambda: s.read_file("Memo.txt") == "call home at 5", 10),
                            f"Memo.txt holds the text: {s.read_file('Memo.txt')!r}")
            self.assertTrue(wait_until(lambda: not s.windows(MEMO_CAPTION), 10), "the memo closed")
            self.assertTrue(s.running(), "closing the memo leaves the program running")

            s.key("alt+e", activate=True)
            memo = s.wait_for_window(MEMO_CAPTION, timeout=15)
            s.key("ctrl+End", "exclam", wid=memo)
            s.close_window(wid=memo)
            self.assertTrue(wait_until(lambda: s.read_file("Memo.txt") == "call home at 5!", 10),
                            f"the text came back and grew: {s.read_file('Memo.txt')!r}")


if __name__ == "__main__":
    main()
