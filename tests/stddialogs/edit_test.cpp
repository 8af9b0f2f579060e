// The edit field on its own: Big5 typing, character-wise caret, limits, scrolling.
#include <gtest/gtest.h>

#include "StdDialogs.h"

namespace {

void Type(CEdit& e, std::string_view bytes) {
  for (char c : bytes) e.OnChar(static_cast<uint8_t>(c));
}

std::pair<int, int> Sel(const CEdit& e) {
  int a, b;
  e.GetSel(a, b);
  return {a, b};
}

TEST(CEdit, TypedBig5BytesFormWholeCharacters) {
  CEdit e;
  Type(e, "A許功蓋四B");  // trail bytes '\', '\', '\', '|'
  EXPECT_EQ(e.Text(), "A許功蓋四B");
  // A lead byte followed by something that is no trail byte is dropped; the byte counts alone.
  Type(e,
       "\xA4"
       "\x20"
       "\x80\xFF\x01\x7F");
  EXPECT_EQ(e.Text(), "A許功蓋四B ");
  // Enter, Escape and Tab are the dialog's, not text.
  Type(e, "\r\x1B\t\n");
  EXPECT_EQ(e.Text(), "A許功蓋四B ");
}

TEST(CEdit, BackspaceDeleteAndArrowsStepWholeCharacters) {
  CEdit e;
  e.SetWindowText("A許功|");
  EXPECT_EQ(Sel(e), std::make_pair(6, 6));
  e.OnChar(8);
  EXPECT_EQ(e.Text(), "A許功");
  e.OnKeyDown(VK_LEFT);
  EXPECT_EQ(Sel(e), std::make_pair(3, 3));
  e.OnChar(8);  // 許 with its '\' trail goes as one
  EXPECT_EQ(e.Text(), "A功");
  e.OnKeyDown(VK_HOME);
  e.OnKeyDown(VK_RIGHT);
  e.OnKeyDown(VK_DELETE);
  EXPECT_EQ(e.Text(), "A");
  e.OnKeyDown(VK_DELETE);  // at the end: nothing
  e.OnChar(8);
  e.OnChar(8);  // at the start: nothing
  EXPECT_EQ(e.Text(), "");
  EXPECT_FALSE(e.OnKeyDown(VK_F1));
}

TEST(CEdit, ASelectionIsReplacedByTypingAndSnapsToCharacters) {
  CEdit e;
  e.SetWindowText("HOST許");
  e.SetSel(0, -1);
  EXPECT_EQ(Sel(e), std::make_pair(0, 6));
  Type(e, "王");
  EXPECT_EQ(e.Text(), "王");
  e.SetWindowText("許功");
  e.SetSel(1, 3);  // inside 許 -> its start; 3 is 功's trail -> 功's start... which is 2
  EXPECT_EQ(Sel(e), std::make_pair(0, 2));
  e.OnKeyDown(VK_RIGHT);  // collapses to the selection's end
  EXPECT_EQ(Sel(e), std::make_pair(2, 2));
  e.SetSel(0, 99);
  e.OnChar(8);
  EXPECT_EQ(e.Text(), "");
}

TEST(CEdit, TheLimitRefusesWholeCharacters) {
  CEdit e;
  EXPECT_EQ(e.GetLimitText(), CEdit::kDefaultLimit);
  e.SetLimitText(5);
  Type(e, "abcdef");
  EXPECT_EQ(e.Text(), "abcde");
  e.OnChar(8);
  e.OnChar(8);
  Type(e, "王明");  // 王 fits, 明 would need 2 more bytes than the limit leaves
  EXPECT_EQ(e.Text(), "abc王");
  // A selection makes room for what replaces it.
  e.SetSel(3, 5);
  Type(e, "x");
  EXPECT_EQ(e.Text(), "abcx");
  e.SetWindowText("123456789");
  EXPECT_EQ(e.Text(), "12345");
  e.SetWindowText("一二三");
  EXPECT_EQ(e.Text(), "一二") << "cut at a character boundary";
  e.SetLimitText(0);
  EXPECT_EQ(e.GetLimitText(), CEdit::kDefaultLimit);
  e.SetWindowText(std::string(1000, 'x').c_str());
  EXPECT_EQ(e.Text().size(), CEdit::kDefaultLimit);
}

TEST(CEdit, ClicksPlaceTheCaretBetweenCharacters) {
  CEdit e;
  e.SetRect(CRect(100, 50, 230, 78));  // 124 px of text: 15 half-width cells
  e.SetWindowText("A許B");
  int textLeft = 103;
  EXPECT_FALSE(e.Click(CPoint(99, 60)));
  e.Click(CPoint(textLeft + 2, 60));
  EXPECT_EQ(Sel(e), std::make_pair(0, 0));
  e.Click(CPoint(textLeft + 5, 60));  // right half of A
  EXPECT_EQ(Sel(e), std::make_pair(1, 1));
  e.Click(CPoint(textLeft + 8 + 7, 60));  // left half of 許
  EXPECT_EQ(Sel(e), std::make_pair(1, 1));
  e.Click(CPoint(textLeft + 8 + 9, 60));  // right half of 許: never inside it
  EXPECT_EQ(Sel(e), std::make_pair(3, 3));
  e.Click(CPoint(225, 60));
  EXPECT_EQ(Sel(e), std::make_pair(4, 4));
}

TEST(CEdit, LongTextScrollsToKeepTheCaretInView) {
  CEdit e;
  e.SetRect(CRect(0, 0, 46, 28));  // 5 cells
  e.SetWindowText("0123456789");
  // The caret at the end is visible: a click at the left edge lands 5 characters back.
  e.Click(CPoint(4, 10));
  EXPECT_EQ(Sel(e), std::make_pair(5, 5));
  e.OnKeyDown(VK_HOME);
  e.Click(CPoint(4, 10));
  EXPECT_EQ(Sel(e), std::make_pair(0, 0));
  // Scrolling never starts inside a character.
  e.SetWindowText("一二三四五六");
  e.Click(CPoint(4, 10));
  int a, b;
  e.GetSel(a, b);
  EXPECT_EQ(a % 2, 0);
}

}  // namespace
