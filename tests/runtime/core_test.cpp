// The run-time core's rules, once for every back end: finding controls and
// forms by name and kind, building an other form when first needed, which
// forms are shown, the close control, option groups and first focus, and
// the one reading of the results after a command. A fake back end records
// what it is asked to do; a person sees each back end do it in the window
// tests.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/accessible_text.h"
#include "runtime/backend.h"

namespace vorlith {
namespace {

using Kind = ControlRow::Kind;

// clang-format off
constexpr ControlRow kMain[] = {
    {"Label1",  Kind::Caption, "V:", 0, 0, 1, 1, nullptr, nullptr},
    {"Box1",    Kind::Input,   "97", 0, 0, 1, 1, nullptr, "土的体积"},
    {"Result1", Kind::Result,  "",   0, 0, 1, 1, nullptr, "土的天然密度"},
    {"Result2", Kind::Result,  "",   0, 0, 1, 1, nullptr, "土的含水量"},
    {"Go",      Kind::Button,  "计算", 0, 0, 1, 1, nullptr, nullptr},
};
constexpr ControlRow kWithCancel[] = {
    {"Cap",     Kind::Caption,       "ds:", 0, 0, 1, 1, nullptr, nullptr},
    {"Opt1",    Kind::Option,        "a",   0, 0, 1, 1, nullptr, nullptr},
    {"Opt2",    Kind::Option,        "b",   0, 0, 1, 1, nullptr, nullptr},
    {"Cap2",    Kind::Caption,       "",    0, 0, 1, 1, nullptr, nullptr},
    {"Opt3",    Kind::Option,        "c",   0, 0, 1, 1, nullptr, nullptr},
    {"Ok",      Kind::DefaultButton, "填入", 0, 0, 1, 1, nullptr, nullptr},
    {"Cancel",  Kind::CancelButton,  "取消", 0, 0, 1, 1, nullptr, nullptr},
};
constexpr ControlRow kWithoutCancel[] = {
    {"Picture", Kind::Drawing,  "", 0, 0, 1, 1, nullptr, nullptr},
    {"View",    Kind::TextView, "", 0, 0, 1, 1, nullptr, nullptr},
};
// clang-format on

std::vector<std::string> g_log;
std::function<void()> g_in_modal_loop;  // what the person does in a modal form

void write_results() {
    set_caption("Result1", "2.08");
    set_caption("Result2", "20.7");
}
void Ok_Click() {
    set_caption("Result2", "19");
    Hide("FormA");
}
void Cancel_Click() {
    g_log.emplace_back("Cancel_Click");
    Hide("FormA");
}
void Go_Click() {
    set_caption("Result1", "1.5");
    Show("FormA", Modal::Yes);
    g_log.emplace_back("Show returned");
}

constexpr ClickHandler kClicks[] = {{"Go", Go_Click}, {"Ok", Ok_Click}, {"Cancel", Cancel_Click}};
constexpr FormDescription kOthers[] = {
    {"FormA", "A", 1, 1, kWithCancel, {}, nullptr},
    {"FormB", "B", 1, 1, kWithoutCancel, {}, nullptr},
};
const ProgramDescription kProgram{.title = "Vorlith",
                                  .form = {"Form1", nullptr, 1, 1, kMain, {}, nullptr},
                                  .clicks = kClicks,
                                  .other_forms = kOthers};

std::string ref(ControlRef control) {
    return std::to_string(control.form) + "/" + std::to_string(control.row);
}

class FakeBackend final : public Backend {
public:
    void create_form(FormNumber form) override { log("create", form); }
    void show_form(FormNumber form, Modal modal, std::optional<std::size_t> focus) override {
        log(modal == Modal::Yes ? "show modal" : "show", form,
            " focus " + (focus ? std::to_string(*focus) : "none"));
        if (modal == Modal::Yes && g_in_modal_loop) g_in_modal_loop();
    }
    void raise_form(FormNumber form) override { log("raise", form); }
    void hide_form(FormNumber form) override { log("hide", form); }
    std::u16string text(ControlRef box) override {
        g_log.push_back("text " + ref(box));
        return u"97";
    }
    void set_text(ControlRef control, std::string_view utf8) override {
        g_log.push_back("set " + ref(control) + " " + std::string(utf8));
    }
    bool option_value(ControlRef option) override {
        g_log.push_back("value " + ref(option));
        return true;
    }
    void set_drawing(ControlRef drawing, std::span<const Shape>, std::string_view) override {
        g_log.push_back("draw " + ref(drawing));
    }
    void announce(std::string_view reading) override {
        g_log.push_back("announce " + std::string(reading));
    }
    void message_box(std::string_view utf8) override {
        g_log.push_back("box " + std::string(utf8));
    }
    void print_text(std::string_view, std::string_view) override {}
    void copy_text(std::string_view) override {}
    void end() override { g_log.emplace_back("end"); }

private:
    static void log(const char* what, FormNumber form, const std::string& more = "") {
        g_log.push_back(std::string(what) + " " + std::to_string(form) + more);
    }
};

class Core : public ::testing::Test {
protected:
    void SetUp() override {
        reset_run_time();
        attach(&backend_, kProgram);
        g_log.clear();
        g_in_modal_loop = nullptr;
    }
    void TearDown() override { detach(&backend_); }
    static int error_of(const std::function<void()>& operation) {
        try {
            operation();
        } catch (const RuntimeError& error) {
            return error.number;
        }
        return 0;
    }
    FakeBackend backend_;
};

// Each operation reaches its control by name in any form, when the control
// is of a kind the operation takes; otherwise error 91 and nothing reached.
TEST_F(Core, ReachesAControlByNameAndKindOrRaises91) {
    const struct {
        const char* what;
        std::function<void()> operation;
        std::vector<std::string> log;  // empty: error 91
    } cases[] = {
        {"a box's text", [] { text_of("Box1"); }, {"text 0/1"}},
        {"a caption's text", [] { text_of("Label1"); }, {}},
        {"no such box", [] { text_of("Box9"); }, {}},
        {"a name in another case", [] { text_of("box1"); }, {}},
        {"a result field's caption", [] { set_caption("Result2", "x"); }, {"set 0/3 x"}},
        {"a box's caption", [] { set_caption("Box1", "x"); }, {}},
        {"a box's text set", [] { set_text("Box1", "x"); }, {"set 0/1 x"}},
        {"a label's text set", [] { set_text("Label1", "x"); }, {}},
        {"an other form's view", [] { set_text("View", "x"); }, {"create 2", "set 2/1 x"}},
        {"an option", [] { Value("Opt3"); }, {"create 1", "value 1/4"}},
        {"a button as an option", [] { Value("Ok"); }, {}},
        {"a drawing", [] { set_drawing("Picture", {}, ""); }, {"create 2", "draw 2/0"}},
        {"a view as a drawing", [] { set_drawing("View", {}, ""); }, {}},
        {"Form1 shown", [] { Show("Form1", Modal::No); }, {}},
        {"no such form hidden", [] { Hide("FormC"); }, {}},
        {"no such form's visibility", [] { Visible("FormC"); }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        EXPECT_EQ(error_of(c.operation), c.log.empty() ? 91 : 0);
        EXPECT_EQ(g_log, c.log);
    }
    detach(&backend_);  // with no form, no control is reachable
    EXPECT_EQ(error_of([] { text_of("Box1"); }), 91);
}

// An other form is built once, when it is first shown or one of its
// controls is reached; asking whether it is shown, or hiding it, builds
// nothing. Shown again, it comes to the front.
TEST_F(Core, BuildsAnOtherFormWhenFirstNeededAndKnowsWhetherItIsShown) {
    EXPECT_FALSE(Visible("FormA"));
    Hide("FormA");
    EXPECT_TRUE(g_log.empty());
    Show("FormA", Modal::No);
    EXPECT_TRUE(Visible("FormA"));
    Show("FormA", Modal::No);
    Value("Opt1");
    Hide("FormA");
    Hide("FormA");
    EXPECT_FALSE(Visible("FormA"));
    EXPECT_EQ(g_log, (std::vector<std::string>{"create 1", "show 1 focus 1", "raise 1", "value 1/1",
                                               "hide 1"}));
}

TEST_F(Core, OptionGroupsAndFirstFocusFollowTheTable) {
    std::vector<bool> starts;
    for (std::size_t i = 0; i < std::size(kWithCancel); ++i)
        starts.push_back(starts_option_group(kWithCancel, i));
    EXPECT_EQ(starts, (std::vector<bool>{false, true, false, false, true, false, false}));
    EXPECT_EQ(first_focus(kMain), 1u);           // past the caption, the box
    EXPECT_EQ(first_focus(kWithoutCancel), 1u);  // past the drawing, the view
    EXPECT_EQ(first_focus(std::span(kMain).subspan(2, 2)), std::nullopt);  // results only
}

// The close control does what the cancel button does; a form without one
// is hidden.
TEST_F(Core, CloseControlRunsTheCancelButtonsClickOrHides) {
    Show("FormA", Modal::No);
    Show("FormB", Modal::No);
    g_log.clear();
    close_form(1);
    close_form(2);
    EXPECT_EQ(g_log, (std::vector<std::string>{"Cancel_Click", "hide 1", "hide 2"}));
    EXPECT_FALSE(Visible("FormA") || Visible("FormB"));
}

// A modal form's handlers run inside the handler that showed it; the
// results are read out once, after the outermost handler, with what every
// result field shows then.
TEST_F(Core, AnnouncesTheResultsOnceAfterTheOutermostHandler) {
    g_in_modal_loop = [] {
        EXPECT_EQ(modal_form(), 1u);
        EXPECT_TRUE(handler_running());
        click("Ok");
    };
    click("Go");
    EXPECT_EQ(g_log, (std::vector<std::string>{"set 0/2 1.5", "create 1", "show modal 1 focus 1",
                                               "set 0/3 19", "hide 1", "Show returned",
                                               "announce 土的天然密度 1.5；土的含水量 19"}));
    EXPECT_EQ(modal_form(), std::nullopt);
    EXPECT_FALSE(handler_running());
}

// After an error the report comes first, then the reading of what the
// fields show; a handler that writes no result field is not read out.
TEST_F(Core, AnnouncesAfterTheErrorReportAndOnlyWhenAResultWasWritten) {
    run_handler([] {
        set_caption("Result1", "2.08");
        raise(ErrorNumber::DivisionByZero);
    });
    run_handler([] { set_text("Box1", "1"); });
    run_handler(write_results);
    EXPECT_EQ(g_log, (std::vector<std::string>{"set 0/2 2.08", "box 实时错误 '11':\n\n除数为零",
                                               "announce 土的天然密度 2.08", "set 0/1 1",
                                               "set 0/2 2.08", "set 0/3 20.7",
                                               "announce 土的天然密度 2.08；土的含水量 20.7"}));
}

// What a screen reader says beyond a control's own text, the same on every
// back end: a box by the caption before it and its quantity, described by
// the caption after it on its line; a result field described by its
// quantity and unit; a view by its quantity; a button by its text alone.
TEST(AccessibleText, NamesAndDescriptionsComeFromTheTable) {
    // clang-format off
    constexpr ControlRow rows[] = {
        {"Label1", Kind::Caption,  "V:",                  0,   100, 1, 1, nullptr, nullptr},
        {"Text1",  Kind::Input,    "",                    300, 100, 1, 1, nullptr, "土的体积"},
        {"Label2", Kind::Caption,  "cm3",                 900, 100, 1, 1, nullptr, nullptr},
        {"Label3", Kind::Result,   "2.08",                300, 400, 1, 1, nullptr, "土的天然密度"},
        {"Label4", Kind::Caption,  "g/cm3  推荐值 1.6-2.2", 900, 400, 1, 1, nullptr, nullptr},
        {"Text2",  Kind::Input,    "",                    300, 700, 1, 1, nullptr, "土的质量"},
        {"View",   Kind::TextView, "",                    0,   900, 1, 1, nullptr, "计算过程"},
        {"Go",     Kind::Button,   "计算",                 0,   900, 1, 1, nullptr, nullptr},
    };
    const struct { std::size_t row; const char* name; const char* description; } cases[] = {
        {0, "", ""},
        {1, "V: 土的体积", "cm3"},
        {3, "", "土的天然密度 g/cm3 推荐值 1.6-2.2"},
        {5, "g/cm3 推荐值 1.6-2.2 土的质量", ""},  // the caption before it, far off
        {6, "计算过程", ""},
        {7, "", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(rows[c.row].name);
        const AccessibleText text = accessible_text(rows, c.row);
        EXPECT_EQ(text.name, c.name);
        EXPECT_EQ(text.description, c.description);
    }
}

// The run-time's own words in its one language; any other leaves the
// platform's. The page knows each kind by its name.
TEST(RunTimeTexts, ChineseAloneAndKindsByName) {
    ASSERT_NE(run_time_texts(2052), nullptr);
    EXPECT_STREQ(run_time_texts(2052)->ok, "确定");
    EXPECT_STREQ(run_time_texts(2052)->close, "关闭");
    EXPECT_EQ(run_time_texts(1033), nullptr);
    EXPECT_STREQ(kind_name(Kind::DefaultButton), "DefaultButton");
    EXPECT_STREQ(kind_name(Kind::Drawing), "Drawing");
}

}  // namespace
}  // namespace vorlith
