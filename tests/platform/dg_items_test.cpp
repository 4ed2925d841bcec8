// Dialog manager bookkeeping the module relies on: list rows and pop-up items keep their selection across
// inserts and deletes, nested dialogs, aborts, window closes and redraw loops.
#include "DG.hpp"
#include "DGDriver.hpp"
#include "TestSupport.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace dg_items_test {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int16_t TestDialog = 32000;
constexpr int16_t Palette = 32001;

using Handler = std::function<int16_t(int16_t message, int16_t dialId, int16_t item)>;

int16_t HandlerCallback(int16_t message, int16_t dialId, int16_t item, DGUserData userData, DGMessageData) {
    return (*reinterpret_cast<Handler*>(userData))(message, dialId, item);
}

int16_t RunModal(int16_t resId, Handler& handler) {
    return DGModalDialog(TestSupport::TestResources(), resId, InvalidResModule, HandlerCallback,
                         reinterpret_cast<DGUserData>(&handler));
}

TEST(DialogItems, ListAndPopUpSelectionFollowInsertsAndDeletes) {
    Handler handler = [](int16_t message, int16_t d, int16_t item) -> int16_t {
        if (message != DG_MSG_INIT) return message == DG_MSG_CLICK ? item : 0;
        for (int k = 0; k < 4; ++k) DGListInsertItem(d, 3, DG_LIST_BOTTOM);
        DGListSetItemText(d, 3, 3, GS::UniString("third"));
        DGListSelectItem(d, 3, 3);
        EXPECT_TRUE(DGListInsertItem(d, 3, 1));  // before the selection: it moves down
        EXPECT_EQ(DGListGetSelected(d, 3), 4);
        EXPECT_EQ(DGListGetItemText(d, 3, 4).ToUtf8(), "third");
        DGListDeleteItem(d, 3, 5);  // after the selection: unchanged
        EXPECT_EQ(DGListGetSelected(d, 3), 4);
        DGListDeleteItem(d, 3, 4);  // the selected row: none selected
        EXPECT_EQ(DGListGetSelected(d, 3), 0);
        EXPECT_FALSE(DGListInsertItem(d, 3, 9));  // past the end + 1
        EXPECT_EQ(DGListGetItemCount(d, 3), 3);
        DGListSetTabItemText(d, 3, 1, 2, GS::UniString("no such tab"));  // one tab field only
        EXPECT_TRUE(DGListGetTabItemText(d, 3, 1, 2).IsEmpty());
        DGListDeleteItem(d, 3, DG_ALL_ITEMS);
        EXPECT_EQ(DGListGetItemCount(d, 3), 0);

        DGPopUpInsertItem(d, 4, DG_POPUP_BOTTOM);
        DGPopUpInsertSeparator(d, 4, DG_POPUP_BOTTOM);
        DGPopUpInsertItem(d, 4, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(d, 4, 3, GS::UniString("last"));
        DGPopUpSelectItem(d, 4, 2);  // a separator cannot be chosen
        EXPECT_EQ(DGPopUpGetSelected(d, 4), 0);
        DGPopUpSelectItem(d, 4, 3);
        DGPopUpDeleteItem(d, 4, 1);
        EXPECT_EQ(DGPopUpGetSelected(d, 4), 2);
        EXPECT_EQ(DGPopUpGetItemText(d, 4, 2).ToUtf8(), "last");
        return 0;
    };
    DGDriver::QueuePickPopUpItem(TestDialog, 4, 1);  // the separator
    DGDriver::QueueClick(TestDialog, 1);
    EXPECT_EQ(RunModal(TestDialog, handler), 1);
    EXPECT_THAT(DGDriver::Errors(), ElementsAre(HasSubstr("no such pop-up item")));
    EXPECT_THAT(DGDriver::Log().back().items[3].popUpItems, ElementsAre("-", "last"));
    EXPECT_EQ(DGDriver::Warnings().size(), 4u);  // bad insert, two bad tab calls, separator select
}

TEST(DialogItems, EnableAndShowAllItemsAtOnce) {
    Handler handler = [](int16_t message, int16_t d, int16_t item) -> int16_t {
        if (message == DG_MSG_INIT) {
            DGDisableItem(d, DG_ALL_ITEMS);
            EXPECT_FALSE(DGIsItemEnabled(d, 12));
            DGEnableItem(d, 1);
            DGHideItem(d, DG_ALL_ITEMS);
            DGShowItem(d, 1);
        }
        return message == DG_MSG_CLICK ? item : 0;
    };
    DGDriver::QueueClick(TestDialog, 2);  // disabled and hidden: refused
    EXPECT_EQ(RunModal(TestDialog, handler), 1);
    EXPECT_THAT(DGDriver::Errors(), ElementsAre(HasSubstr("disabled")));
    const auto& items = DGDriver::Log().back().items;
    EXPECT_TRUE(items[0].enabled && items[0].visible);
    EXPECT_FALSE(items[1].enabled || items[1].visible);
}

TEST(DialogItems, NestedModalTakesItsOwnActionsAndAbortEndsTheOuterOne) {
    std::vector<int16_t> innerResults;
    Handler inner = [](int16_t message, int16_t, int16_t item) -> int16_t {
        return message == DG_MSG_CLICK ? item : 0;
    };
    Handler outer = [&](int16_t message, int16_t d, int16_t item) -> int16_t {
        if (message == DG_MSG_CLICK && item == 1) {
            // The same layout cannot be open twice: refused with 0.
            innerResults.push_back(RunModal(TestDialog, inner));
            innerResults.push_back(RunModal(Palette, inner));
            DGAbortModalDialog(d, 7);
        }
        return 0;
    };
    DGDriver::QueueClick(TestDialog, 1);
    DGDriver::QueueClick(Palette, 2);
    EXPECT_EQ(RunModal(TestDialog, outer), 7);
    EXPECT_THAT(innerResults, ElementsAre(0, 2));
    EXPECT_THAT(DGDriver::Errors(), ElementsAre(HasSubstr("open already")));
    ASSERT_EQ(DGDriver::Log().size(), 2u);
    EXPECT_EQ(DGDriver::Log()[0].id, Palette);
    EXPECT_EQ(DGDriver::Log()[1].result, 7);
}

TEST(DialogItems, ClosingAModelessWindowAndRedrawLoopsAreHandled) {
    int32_t updates = 0;
    Handler palette = [&](int16_t message, int16_t d, int16_t item) -> int16_t {
        if (message == DG_MSG_UPDATE) {
            ++updates;
            DGRedrawItem(d, item);  // asks again while being drawn
        }
        return 0;
    };
    ASSERT_EQ(
        DGModelessInit(TestSupport::TestResources(), Palette, HandlerCallback, reinterpret_cast<DGUserData>(&palette)),
        Palette);
    EXPECT_EQ(updates, 10000);
    EXPECT_THAT(DGDriver::Errors(), ElementsAre(HasSubstr("keep asking for redraws")));

    DGDriver::QueueCloseWindow(Palette);
    EXPECT_EQ(DGDriver::DeliverModelessActions(), 1);
    EXPECT_FALSE(DGIsDialogOpen(Palette));
    EXPECT_EQ(DGDriver::Log().back().kind, "modeless");
    EXPECT_EQ(DGDriver::Log().back().events.front(), "init");
    EXPECT_EQ(DGDriver::Log().back().events.back(), "close 0");
}

TEST(DialogItems, OwnerDrawnCellsAreDrawnCellByCellAndEditorsSitOnTheSelectedRow) {
    constexpr int16_t kEvery = 32002;  // list 15, intedit 5
    std::vector<std::string> updates;
    Handler handler = [&](int16_t message, int16_t d, int16_t item) -> int16_t {
        if (message == DG_MSG_INIT) {
            DGListSetTabFieldCount(d, 15, 2);
            DGListSetTabFieldData(d, 15, 1, 0, 50);
            DGListSetTabFieldData(d, 15, 2, 50, 90);
            DGListSetTabFieldOwnerDrawFlag(d, 15, 2, true);
            DGListSetItemHeight(d, 15, 10);
            DGListDisableDraw(d, 15);  // filled without drawing, drawn once when enabled
            for (int row = 1; row <= 3; ++row) DGListInsertItem(d, 15, DG_LIST_BOTTOM);
            DGListInsertSeparator(d, 15, 2);
            DGListSetItemText(d, 15, 1, GS::UniString("name\tvalue\textra"));  // the last field keeps the rest
            DGListEnableDraw(d, 15);
            DGHideItem(d, 5);
        }
        if (message == DG_MSG_CHANGE && item == 15) {
            DGListSetDialItemOnTabField(d, 15, 2, 5);
            DGListRedrawTabItem(d, 15, DGListGetSelected(d, 15), 2);
        }
        return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
    };
    // Every update draws the row it is for into the cell.
    struct Drawer {
        Handler* handler;
        std::vector<std::string>* updates;
    } drawer{&handler, &updates};
    auto callback = [](int16_t message, int16_t d, int16_t item, DGUserData data, DGMessageData msg) -> int16_t {
        auto* self = reinterpret_cast<Drawer*>(data);
        if (message == DG_MSG_UPDATE) {
            const auto* u = reinterpret_cast<const DGUserUpdateData*>(msg);
            self->updates->push_back(std::to_string(item) + ":" + std::to_string(u->listRow) + "." +
                                     std::to_string(u->listTabField));
            DGDrawFillRect(u->drawContext, DG::Rect{u->left, u->top, u->right, u->bottom}, 0, 0, uint8_t(u->listRow));
        }
        return (*self->handler)(message, d, item);
    };
    DGDriver::QueuePickListRow(kEvery, 15, 3);
    EXPECT_EQ(DGModalDialog(TestSupport::TestResources(), kEvery, InvalidResModule, callback,
                            reinterpret_cast<DGUserData>(&drawer)),
              1);
    // The list once after init (rows 1, 3 and 4: row 2 is a separator), then the picked row's cell alone.
    EXPECT_THAT(updates, ElementsAre("15:1.2", "15:3.2", "15:4.2", "16:0.0", "15:3.2"));
    const DGDriver::LogRecord& record = DGDriver::Log().back();
    const DGDriver::ItemState& list = record.items[14];
    EXPECT_THAT(list.rows[0].texts, ElementsAre("name", "value\textra"));
    EXPECT_THAT(list.rows[2].drawing[1], ElementsAre("fill 50 20 90 30 rgb(0,0,3)"));
    EXPECT_TRUE(list.rows[1].separator);
    EXPECT_EQ(list.tabFieldData[1].editor, 5);
    const DGDriver::ItemState& editor = record.items[4];
    EXPECT_TRUE(editor.visible);  // shown over the cell of row 3 (the list stands at 120, 40)
    EXPECT_EQ(editor.rect.left, 170);
    EXPECT_EQ(editor.rect.top, 60);
    EXPECT_EQ(editor.rect.right, 210);
    EXPECT_EQ(editor.rect.bottom, 70);
    EXPECT_TRUE(DGDriver::Errors().empty());
}

TEST(DialogItems, ModelessWindowsHearWhenTheUserTurnsToThemAndWhileAModalDialogRuns) {
    std::vector<std::string> heard;
    Handler modal = [&](int16_t message, int16_t, int16_t item) -> int16_t {
        heard.push_back("modal " + std::to_string(message));
        return message == DG_MSG_CLICK ? item : 0;
    };
    Handler palette = [&](int16_t message, int16_t d, int16_t item) -> int16_t {
        if (message != DG_MSG_UPDATE)
            heard.push_back(std::to_string(d) + " " + std::to_string(message) + ":" + std::to_string(item));
        if (message == DG_MSG_CLICK && item == 2) RunModal(TestDialog, modal);
        return 0;
    };
    const GSResModule module = TestSupport::TestResources();
    constexpr int16_t kOther = 32002;
    ASSERT_EQ(DGModelessInit(module, Palette, HandlerCallback, reinterpret_cast<DGUserData>(&palette)), Palette);
    ASSERT_EQ(DGModelessInit(module, kOther, HandlerCallback, reinterpret_cast<DGUserData>(&palette)), kOther);
    heard.clear();
    DGDriver::QueueClick(Palette, 1);
    DGDriver::QueueClick(kOther, 1);
    DGDriver::QueueClick(Palette, 2);
    EXPECT_EQ(DGDriver::DeliverModelessActions(), 3);
    EXPECT_THAT(heard,
                ElementsAre("32002 14:0", "32001 14:1", "32001 4:1",             // turns to the palette
                            "32001 14:0", "32002 14:1", "32002 4:1",             // and back
                            "32002 14:0", "32001 14:1", "32001 4:2",             // its click opens a modal
                            "32001 15:0", "32002 15:0", "modal 1", "modal 16",   // dialog, which takes
                            "modal 4", "modal 3", "32001 15:1", "32002 15:1"));  // the input while it runs
    DGModelessClose(Palette);
    DGModelessClose(kOther);
    EXPECT_TRUE(DGDriver::Errors().empty());
}

}  // namespace dg_items_test
