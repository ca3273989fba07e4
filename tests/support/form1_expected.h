#pragma once

// What Form1 must show, whatever the window system: the tables that the
// window tests of every back end read. UTF-8.

namespace vorlith::testing {

struct NamedText {
    const char* name;
    const char* text;
};

// Every control in tab-index order with its initial caption or text.
inline constexpr NamedText kForm1Texts[] = {
    {"Label1", "V:"},
    {"Text1", "97"},
    {"Label2", "cm3"},
    {"Label3", "Vv:"},
    {"Text2", "7"},
    {"Label4", "cm3"},
    {"Label5", "Vw:"},
    {"Text3", "10"},
    {"Label6", "cm3"},
    {"Label7", "Vs:"},
    {"Text4", "80"},
    {"Label8", "cm3"},
    {"Label9", "m:"},
    {"Text5", "202"},
    {"Label10", "g"},
    {"Label11", "mw:"},
    {"Text6", "34.7"},
    {"Label12", "g"},
    {"Label13", "ms:"},
    {"Text7", "167.3"},
    {"Label14", "g"},
    {"Command1", "计算"},
    {"Label15", "ρ："},
    {"Label16", ""},
    {"Label17", "g/cm3  推荐值 1.6-2.2"},
    {"Label18", "w："},
    {"Label19", ""},
    {"Label20", "%      推荐值 20-60"},
    {"Label21", "ds："},
    {"Label22", ""},
    {"Label23", "g/cm3  粘性土2.72-2.75 粉土2.7-2.71 砂土2.65-2.69"},
    {"Label24", "ρd："},
    {"Label25", ""},
    {"Label26", "g/cm3  推荐值1.3-1.8"},
    {"Label27", "ρsat："},
    {"Label28", ""},
    {"Label29", "g/cm3"},
    {"Label30", "ρ'："},
    {"Label31", ""},
    {"Label32", "g/cm3"},
    {"Label33", "e："},
    {"Label34", ""},
    {"Label35", "n："},
    {"Label36", ""},
    {"Label37", "%"},
};

// The rows' tooltips: on the symbol label, and on the result field of a
// result row; an input row's box has none but is named after it.
struct RowTooltip {
    const char* symbol;
    const char* value;  // the row's box or result field
    const char* tooltip;
};
inline constexpr RowTooltip kRowTooltips[] = {
    {"Label1", "Text1", "土的体积"},        {"Label3", "Text2", "土中孔隙的体积"},
    {"Label5", "Text3", "土中水的体积"},    {"Label7", "Text4", "土中颗粒的体积"},
    {"Label9", "Text5", "土的总质量"},      {"Label11", "Text6", "土中水的质量"},
    {"Label13", "Text7", "土中颗粒的质量"}, {"Label15", "Label16", "土的天然密度"},
    {"Label18", "Label19", "土的含水量"},   {"Label21", "Label22", "土粒相对密度"},
    {"Label24", "Label25", "土的干密度"},   {"Label27", "Label28", "土的饱和密度"},
    {"Label30", "Label31", "土的有效密度"}, {"Label33", "Label34", "土的孔隙比"},
    {"Label35", "Label36", "土的孔隙率"},
};

inline constexpr const char* kBoxes[] = {"Text1", "Text2", "Text3", "Text4",
                                         "Text5", "Text6", "Text7"};
inline constexpr const char* kResults[] = {"Label16", "Label19", "Label22", "Label25",
                                           "Label28", "Label31", "Label34", "Label36"};

// Where Tab takes the focus, nine times from Text1.
inline constexpr const char* kTabCycle[] = {"Text2", "Text3",    "Text4", "Text5", "Text6",
                                            "Text7", "Command1", "Text1", "Text2"};

// One press of 计算 with the initial texts.
inline constexpr const char* kSampleResults[] = {
    " 2.08247422680412",
    " 20.7411835026898",
    " 2.09125",
    " 1.72474226804124",
    " 1.79690721649485",
    " .9",
    " .0875",
    " 7.21649484536082",
};

// A run that fails: box k (1..7) holds `typed`; `shown` fields are written
// before the failure, the rest are emptied, and the report reads `report`.
struct FailingRun {
    const char* name;
    int k;
    const char* typed;
    int shown;
    const char* report;
    const char* mended;  // a text for box k with which the run succeeds again
};
inline constexpr FailingRun kFailingRuns[] = {
    {"V empty", 1, "", 0, "实时错误 '11':\n\n除数为零", "97"},
    {"V text", 1, "abc", 0, "实时错误 '11':\n\n除数为零", "97"},
    {"ms zero", 7, "0", 1, "实时错误 '11':\n\n除数为零", "167.3"},
    {"Vs zero", 4, "0", 2, "实时错误 '11':\n\n除数为零", "80"},
    {"V huge", 1, "1e400", 0, "实时错误 '6':\n\n溢出", "97"},
};

inline constexpr const char* kProgramMessage =
    "本程序完全参照《土力学与基础工程》（Merrovan主编）第2.3节内容编写，仅供学习使用，敬请指教。";
// The author message, whose contact number is any eight digits.
inline constexpr const char* kAuthorMessagePattern =
    "^Talvik，现供职于Orvandel，QQ：[0-9]{8}\\.   2011\\.11\\.18$";

// The menu bar: each menu's name and caption, then its items'.
inline constexpr const char* kMenuBar[] = {"FILE=文件:EXIT=退出",
                                           "ABOUT=关于:SOFT=软件,WRITER=作者"};

}  // namespace vorlith::testing
