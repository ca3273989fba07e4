#include "cli/lab_command.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "calc/numeric_text.h"
#include "calc/record_sheet.h"
#include "cli/console.h"
#include "cli/results.h"
#include "cli/utf.h"

namespace vorlith::cli {
namespace {

constexpr std::string_view kUsage = " (vorlith-calc --help shows the usage)";

// "40,154.2,60;41.5,157.3,60": one or two groups of three numbers.
std::optional<std::vector<std::array<double, 3>>> groups(std::u16string_view text) {
    std::vector<std::array<double, 3>> found;
    for (std::size_t at = 0; at <= text.size() && found.size() < 3;) {
        const std::size_t end = std::min(text.find(u';', at), text.size());
        std::array<double, 3> group{};
        std::size_t field = at;
        for (int i = 0; i < 3; ++i) {
            const std::size_t comma = std::min(text.find(u',', field), end);
            if (i < 2 && comma == end) return std::nullopt;
            group[i] = Val(text.substr(field, comma - field));
            field = comma + 1;
        }
        if (field <= end) return std::nullopt;  // a fourth number
        found.push_back(group);
        at = end + 1;
    }
    if (found.empty() || found.size() > 2) return std::nullopt;
    return found;
}

// The sheet from rings=… tins=… ds=…; a message when an operand is not one.
std::optional<RecordSheet> read_sheet(const std::vector<std::u16string>& operands,
                                      std::string& message) {
    RecordSheet sheet;
    bool has_ds = false;
    for (const std::u16string& operand : operands) {
        const std::size_t equals = operand.find(u'=');
        const std::u16string name = operand.substr(0, equals);
        const std::u16string_view value =
            equals == std::u16string::npos ? u"" : std::u16string_view(operand).substr(equals + 1);
        const auto found = name == u"rings" || name == u"tins" ? groups(value) : std::nullopt;
        if (name == u"ds" && equals != std::u16string::npos) {
            sheet.ds = Val(value);
            has_ds = true;
        } else if (found && name == u"rings") {
            for (const auto& g : *found) sheet.rings.push_back({g[0], g[1], g[2]});
        } else if (found && name == u"tins") {
            for (const auto& g : *found) sheet.tins.push_back({g[0], g[1], g[2]});
        } else {
            message = "--sheet cannot read " + utf8_from_utf16(operand) +
                      ": rings=m0,m1,V[;m0,m1,V] tins=m0,m1,m2[;m0,m1,m2] ds=D";
            return std::nullopt;
        }
    }
    if (sheet.rings.empty() || sheet.tins.empty() || !has_ds) {
        message = "--sheet needs rings=, tins= and ds=";
        return std::nullopt;
    }
    return sheet;
}

void write_lines(const std::string& text, Output& out) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        out.line(std::string_view(text).substr(at, end - at));
        at = end + 1;
    }
}

constexpr std::string_view kChineseHelp =
    R"(用法：vorlith-calc [--g 9.81|9.8|10] [--working] [-o 文件] V Vv Vw Vs m mw ms
      vorlith-calc [--g 9.81|9.8|10] [--working] [-o 文件] --lab V m ms ds
      vorlith-calc [--g 9.81|9.8|10] [-o 文件] [--no-bom] --csv [文件]
      vorlith-calc [-o 文件] --sheet rings=m0,m1,V[;m0,m1,V] tins=m0,m1,m2[;m0,m1,m2] ds=D
      vorlith-calc [--working] [--round] [-o 文件] --state wL=N wP=N [w=N]
      vorlith-calc [--working] [--round] [-o 文件] --state emax=N emin=N e=N
      vorlith-calc [--working] [--round] [-o 文件] --cone H:W H:W H:W [w=N]
      vorlith-calc [--g 9.81|9.8|10] [--working|--round] [-o 文件] --given 名=值 名=值 名=值
      vorlith-calc [--g 9.81|9.8|10] [--working] [--no-bom] [-o 文件] --exercises N [--seed S]
按 Vorlith 窗口的算法计算土样的物理性质指标，
每项指标一行：符号、制表符、数值：
  ρ w ds ρd ρsat ρ' e n（Form1 的八项），Sr，γ γd γsat γ'（重度）。
体积以 cm3 计，质量以 g 计；每个数都按 BASIC 的 Val 读入。

  --lab V m ms ds   由试验测得的环刀体积、湿土质量、干土质量和土粒比重：
                    先输出七个量，再输出各项指标
  --sheet rings=… tins=… ds=…
                    试验记录表（GB/T 50123-2019）：环刀法密度（每个环刀
                    m0 环刀质量、m1 环刀加土质量、V 环刀容积），烘干法含水率
                    （每个称量盒 m0 盒质量、m1 盒加湿土、m2 盒加干土），
                    各一至两次测定；输出各次测定值、平行差值与允许值、
                    平均值和填入输入框的 V m ms ds。平行差值超过允许值时
                    给出说明（应重做试验），退出状态仍为 0
  --csv [文件]      每行一个土样（V,Vv,Vw,Vs,m,mw,ms），从文件或标准输入
                    （不给文件，或 -）读入；输出带结果、错误和数据说明的
                    CSV。字段数不对的行保留其位置，错误列写明原因
  --no-bom          --csv 与 --exercises 的 CSV 开头不写 UTF-8 字节顺序
                    标记（默认写，便于 Excel 识别编码）
  --state wL=N wP=N [w=N]
                    界限含水率（%）：Ip 与定名（wL 取 10 mm 液限），给出
                    天然含水率 w 时再给 IL 与状态
  --state emax=N emin=N e=N
                    砂土的孔隙比：Dr 与密实度
  --cone H:W H:W H:W [w=N]
                    76 g 圆锥的三个点，下沉深度（mm）与含水率（%）：
                    wL（17 mm）、wL10（10 mm）、wP（2 mm），再给
                    Ip = wL10 - wP 与定名，给出 w 时再给 IL 与状态
  --given 名=值 名=值 名=值
                    由任意三个已知指标（名：rho rho_d rho_sat rho_prime
                    gamma gamma_d gamma_sat gamma_prime w ds e n Sr，或其
                    符号；w、n、Sr 以 % 计）求 V = 1 cm3 时的七个量与十三项指标
  --round           按报告精度：--given 的指标（密度 0.01 g/cm3，w 0.1 %，
                    其余三位有效数字）；--state 与 --cone 的含水率与 Ip
                    取 0.1，IL 与 Dr 取 0.01
  --exercises N     N 道习题的 CSV（与 --working 同用时为文字叙述与计算
                    过程）；--seed S 选题（默认 1）
  --g 9.81|9.8|10   计算重度的重力加速度，m/s2（默认 9.81）
  --working         中文计算过程：公式、代入的数值、数据校核
  -o, --output 文件 写入文件，全部写完后才替换它
  -h, --help        本帮助
      --version     版本
退出状态：全部土样计算成功为 0；有土样引发错误（除数为零 11，溢出 6）
或无法读入为 1，--state 或 --cone 的数据不可能是一种土时也为 1；
用法错误或文件无法读写为 2。
)";

// The command line's messages, phrase by phrase; a longer phrase before any
// shorter one it holds.
constexpr std::pair<std::string_view, std::string_view> kPhrases[] = {
    {kUsage, "（用法见 vorlith-calc --help）"},
    {"unknown option ", "未知选项 "},
    {" does not go with --state or --cone", " 不能与 --state 或 --cone 同用"},
    {"--state and --cone exclude each other", "--state 与 --cone 只能选一个"},
    {"--state takes wL= wP= [w=] or emax= emin= e=", "--state 需要 wL= wP= [w=] 或 emax= emin= e="},
    {"--cone takes three points H:W and w=VALUE at most, got ",
     "--cone 需要三个点 H:W，至多再给 w=值，给了 "},
    {" points", " 个点"},
    {"--cone takes H:W, not ", "--cone 需要 H:W，不能是 "},
    {"the depth in ", "下沉深度 "},
    {"the water content in ", "含水率 "},
    {"expected NAME=VALUE, not ", "应为 名=值，不能是 "},
    {" is given twice", " 给了两次"},
    {" is beyond the range of a number", " 超出数的范围"},
    {" needs a number", " 需要一个数"},
    {" is not a number", " 不是数"},
    {" is out of range", " 超出范围"},
    {"--given and --exercises exclude each other", "--given 与 --exercises 只能选一个"},
    {"--seed goes with --exercises", "--seed 只用于 --exercises"},
    {"--exercises takes 1 to 10000", "--exercises 只能是 1 到 10000"},
    {"--exercises takes no operands", "--exercises 不带其他数"},
    {" with --given or --exercises", "（用于 --given 或 --exercises）"},
    {"--given takes three NAME=VALUE, got ", "--given 需要三个 名=值，给了 "},
    {"unknown index ", "未知指标 "},
    {" takes a whole number up to ", " 只能是不大于 "},
    {", not ", " 的整数，不能是 "},
    {", or ", "，或 "},
    {"--g takes 9.81, 9.8 or 10, not ", "--g 只能是 9.81、9.8 或 10，不能是 "},
    {" needs a value", " 需要一个值"},
    {"--lab, --csv and --sheet exclude each other", "--lab、--csv 与 --sheet 只能选一个"},
    {"--csv reads one FILE, got ", "--csv 只读一个文件，给了 "},
    {"--working does not go with --csv", "--working 不能与 --csv 同用"},
    {"--no-bom goes with --csv only", "--no-bom 只用于 --csv"},
    {"--sheet cannot read ", "--sheet 无法读入 "},
    {"--sheet needs rings=, tins= and ds=", "--sheet 需要 rings=、tins= 和 ds="},
    {" fields, expected 7 (V,Vv,Vw,Vs,m,mw,ms)", " 个字段，应有 7 个（V,Vv,Vw,Vs,m,mw,ms）"},
    {"expected ", "应有 "},
    {" numbers (", " 个数（"},
    {"), got ", "），给了 "},
    {" is not UTF-8 text", " 不是 UTF-8 文本"},
    {"not UTF-8 text", "不是 UTF-8 文本"},
    {"argument ", "参数 "},
    {"a double quote is not closed", "双引号没有配对"},
    {"longer than 1 MiB, skipped", "超过 1 MiB，已跳过"},
    {"cannot read the input", "无法读取输入"},
    {"cannot write to standard output", "无法写入标准输出"},
    {"cannot read ", "无法读取 "},
    {"cannot write ", "无法写入 "},
};

}  // namespace

std::string_view chinese_help() {
    return kChineseHelp;
}

std::string localized(std::string_view message) {
    std::string text(message);
    if (!chinese_locale()) return text;
    // "line 4: …" → "第 4 行：…"
    if (text.starts_with("line ")) {
        const std::size_t colon = text.find(": ");
        if (colon != std::string::npos)
            text = "第 " + text.substr(5, colon - 5) + " 行：" + text.substr(colon + 2);
    }
    for (const auto& [english, chinese] : kPhrases) {
        for (std::size_t at = text.find(english); at != std::string::npos;
             at = text.find(english, at + chinese.size()))
            text.replace(at, english.size(), chinese);
    }
    return text;
}

int run_sheet(const std::vector<std::u16string>& operands, Output& out) {
    try {
        std::string message;
        const auto sheet = read_sheet(operands, message);
        if (!sheet) {
            report(message + std::string(kUsage));
            return kUsageError;
        }
        write_lines(sheet_text(*sheet, work_sheet(*sheet)), out);
        return kAllComputed;
    } catch (const RuntimeError& error) {
        out.flush();
        write_standard(Stream::err, unhandled_error_line(error) + "\n");
        return kSomeFailed;
    }
}

}  // namespace vorlith::cli
