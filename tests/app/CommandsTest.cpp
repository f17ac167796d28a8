// The command table without a display: keys to commands, menu labels.
#include <gtest/gtest.h>

#include <map>
#include <span>
#include <utility>

#include "app/Commands.h"
#include "app/DialogLayout.h"

namespace {

std::span<const CommandEntry> Table() {
  size_t count = 0;
  const CommandEntry* table = CommandTable(&count);
  return {table, count};
}

TEST(CommandsTest, EveryKeyRunsItsOwnCommandAndNoKeyIsShared) {
  std::map<std::pair<int, int>, int> owners;
  for (const CommandEntry& entry : Table()) {
    for (const KeyChord& key : entry.keys) {
      if (key.keyCode == 0) break;
      EXPECT_TRUE(owners.emplace(std::make_pair(key.keyCode, key.modifiers), entry.id).second)
          << "key " << key.keyCode << " twice";
      EXPECT_EQ(CommandForKey(key.keyCode, key.modifiers), entry.id) << key.keyCode;
    }
  }
  EXPECT_GT(owners.size(), 30u);
}

TEST(CommandsTest, ShiftPicksSymbolsButNotLettersArrowsOrFunctionKeys) {
  EXPECT_EQ(CommandForKey('+', wxMOD_SHIFT), ID_VIEW_ZOOM_IN) << "Shift+= on most layouts";
  EXPECT_EQ(CommandForKey(']', wxMOD_SHIFT), ID_KEY_END_HERE);
  EXPECT_EQ(CommandForKey('Z', wxMOD_CONTROL | wxMOD_SHIFT), ID_KEY_REDO);
  EXPECT_EQ(CommandForKey('Z', wxMOD_CONTROL), ID_KEY_UNDO);
  EXPECT_EQ(CommandForKey(WXK_F6, wxMOD_SHIFT), ID_KEY_HEAR_BEFORE_START);
  EXPECT_EQ(CommandForKey(WXK_RIGHT, wxMOD_SHIFT), ID_KEY_EDGE_SECOND_ON);
  EXPECT_EQ(CommandForKey('P', wxMOD_SHIFT), 0);
  EXPECT_EQ(CommandForKey('1', 0), 0) << "digits are typed times' own";
  // Modifiers the table does not know change nothing.
  EXPECT_EQ(CommandForKey(WXK_SPACE, wxMOD_META), ID_KEY_PLAY_STOP);
  // Enter and Esc are no commands: the window never closes on them.
  EXPECT_EQ(CommandForKey(WXK_RETURN, 0), 0);
  EXPECT_EQ(CommandForKey(WXK_ESCAPE, 0), 0);
}

TEST(CommandsTest, MenuItemsShowTheirFirstKey) {
  for (const CommandEntry& entry : Table()) {
    if (entry.menu == MenuPlace::None || entry.id == 0) continue;
    const wxString label = MenuItemLabel(entry);
    EXPECT_TRUE(label.StartsWith(Utf8(entry.text))) << entry.id;
    if (entry.keys[0].keyCode != 0) {
      EXPECT_NE(label.Find('\t'), wxNOT_FOUND) << entry.id;
    }
  }
  size_t count = 0;
  const CommandEntry& open = CommandTable(&count)[0];
  EXPECT_TRUE(MenuItemLabel(open).EndsWith("\tCtrl+O"));
}

}  // namespace
