#include "forms/writer.h"
#include "sample_forms.h"

#include <gtest/gtest.h>

using namespace vorn;
using namespace vorn::forms;
using namespace vorn::forms::testing;

namespace {

constexpr std::uint32_t kMain = 0x52010001;

class Writer : public ::testing::Test {
  protected:
    FormSection forms = sample_forms();
    std::set<std::uint32_t> handlers = sample_handlers();
    WriteRules rules;

    void SetUp() override {
        rules.known_handler = [this](std::uint32_t offset) { return handlers.count(offset) != 0; };
    }
    Element& element(std::uint32_t window, std::uint32_t id) {
        Element* found = find_element(forms, window, id);
        EXPECT_NE(found, nullptr);
        return *found;
    }
    ControlRecord& control(std::uint32_t window, std::uint32_t id) { return *element(window, id).control(); }

    // Expects write_forms to refuse, with every fragment in its message.
    void expect_refused(std::initializer_list<std::string_view> fragments, const WriteRules* with = nullptr) {
        Result<Bytes> written = write_forms(forms, with ? *with : rules);
        ASSERT_FALSE(written.ok()) << "accepted an inconsistent definition";
        for (std::string_view fragment : fragments)
            EXPECT_NE(written.error().message.find(fragment), std::string::npos)
                << "\"" << written.error().message << "\" lacks \"" << fragment << "\"";
    }
};

} // namespace

TEST_F(Writer, AcceptsTheSample) {
    Result<Bytes> written = write_forms(forms, rules);
    EXPECT_TRUE(written.ok()) << written.error().message;
}

TEST_F(Writer, RefusesDuplicateIds) {
    forms.windows[0].elements[3].id = forms.windows[0].elements[2].id;
    expect_refused({"window 0 (0x52010001)", "element 3 (0x16010498)", "used twice"});
    forms = sample_forms();
    forms.windows[2].id = kMain;
    expect_refused({"window 2 (0x52010001)", "window id is used twice"});
}

TEST_F(Writer, RefusesIdsOfTheWrongKind) {
    std::swap(forms.windows[1].elements[0], forms.windows[1].elements[1]);
    expect_refused({"element 0 (0x160100b6)", "must be the window's own element"});
    forms = sample_forms();
    forms.windows[1].elements[2].id = 0x260100B7;
    expect_refused({"element 2 (0x260100b7)", "a control must have an id of kind 0x16"});
    forms = sample_forms();
    forms.windows[0].elements.back().id = 0x16010999;
    expect_refused({"a menu item must have an id of kind 0x26"});
    forms = sample_forms();
    forms.windows[1].id = 0x160100B4;
    expect_refused({"window 1 (0x160100b4)", "kind 0x52"});
    forms = sample_forms();
    forms.windows[1].unit_id = 0x520100B9;
    expect_refused({"unit id 0x520100b9 must be of kind 0x19"});
    forms = sample_forms();
    forms.windows[1].elements[2].class_id = class_id::window;
    expect_refused({"only the first element of a unit may be of the window class"});
    forms = sample_forms();
    forms.windows[1].elements.clear();
    expect_refused({"needs its own element"});
}

TEST_F(Writer, RefusesContainersThatDisagree) {
    // 广告标签 sits in 外形框1, which lists it.
    control(kMain, 0x160100F5).children.clear();
    expect_refused({"element 6 (0x160100f6)", "parent 0x160100f5 does not list it"});
    forms = sample_forms();
    control(kMain, 0x160100F5).children.push_back(0x160104E8);
    expect_refused({"element 7 (0x160100f5)", "lists child 0x160104e8, whose parent is 0x0"});
    forms = sample_forms();
    control(kMain, 0x160100F5).children.push_back(0x160100F6);
    expect_refused({"lists child 0x160100f6 twice"});
    forms = sample_forms();
    control(kMain, 0x160100F6).parent = 0x16019999;
    expect_refused({"parent 0x16019999 is not a control of this window"});
    forms = sample_forms();
    control(kMain, 0x160100F6).parent = 0x260104D5;
    expect_refused({"parent 0x260104d5 is not a control of this window"});
}

TEST_F(Writer, RefusesUnknownHandlers) {
    control(kMain, 0x160104E8).events[0].handler = 0x99999;
    expect_refused({"element 1 (0x160104e8)", "event 0 is bound to 0x99999, which is not a known handler"});
    forms = sample_forms();
    element(kMain, 0x260104D6).menu_item()->click_handler = 0x99999;
    expect_refused({"element 16 (0x260104d6)", "click handler 0x99999"});
    // Without a handler list any offset goes, and "no handler" is never checked.
    EXPECT_TRUE(write_forms(forms, WriteRules{}).ok());
}

TEST_F(Writer, EventsTheClassDoesNotRaise) {
    control(kMain, 0x160100F1).events.push_back({-1, 0x23040}); // a timer has no mouse
    expect_refused({"element 8 (0x160100f1)", "a timer has no event -1"});
    WriteRules lenient = rules;
    lenient.allow_unlisted_events = true;
    EXPECT_TRUE(write_forms(forms, lenient).ok());
    forms = sample_forms();
    control(kMain, 0x16010003).events.push_back({3, 0x23060});
    expect_refused({"event 3 is bound twice"});
}

TEST_F(Writer, UnknownClassesOnlyWhenAllowed) {
    element(kMain, 0x16010445).class_id = 0x000D0001;
    control(kMain, 0x16010445).class_block = {1, 2, 3};
    expect_refused({"element 3 (0x16010445)", "class 0xd0001 is not known"});
    WriteRules raw = rules;
    raw.allow_unknown_classes = true;
    EXPECT_TRUE(write_forms(forms, raw).ok());
}

TEST_F(Writer, RefusesBlocksThatDoNotDecode) {
    control(kMain, 0x160100F1).class_block.push_back(0);
    expect_refused({"window 0 (0x52010001), element 8 (0x160100f1), class block", "after its last field"});
}

TEST_F(Writer, RefusesBrokenMenusAndCursors) {
    element(kMain, 0x260104D5).menu_item()->level = 1;
    expect_refused({"element 15 (0x260104d5)", "without a level-0 menu before it"});
    forms = sample_forms();
    element(kMain, 0x260104D7).menu_item()->level = 2;
    expect_refused({"menu level 2"});
    forms = sample_forms();
    control(kMain, 0x16010002).cursor_block = {0x89, 0x7F};
    expect_refused({"cursor block of 2 bytes, expected 4"});
}

TEST_F(Writer, RefusesWhatCannotBeStoredUnderAnyRules) {
    const WriteRules copy = WriteRules::exact_copy();
    element(kMain, 0x160104E8).name += '\0';
    expect_refused({"element 1 (0x160104e8)", "zero byte"}, &copy);
    forms = sample_forms();
    element(kMain, 0x160104E8).class_id = class_id::menu_item;
    expect_refused({"record layout does not match class 0x10003"}, &copy);
    forms = sample_forms();
    element(kMain, 0x260104D5).class_id = class_id::label;
    expect_refused({"record layout does not match"}, &copy);
}

TEST_F(Writer, ExactCopyWritesInconsistentDataAsHeld) {
    forms.windows[0].elements[3].id = forms.windows[0].elements[2].id;
    control(kMain, 0x160100F5).children.clear();
    control(kMain, 0x160100F1).events.push_back({-7, 0xDEAD});
    forms.windows.push_back(Window{.id = 0x52010777, .unit_id = 7});
    EXPECT_TRUE(write_forms(forms, WriteRules::exact_copy()).ok());
}
