#include "cli/arguments.h"

#include "cli/utf.h"

namespace vorlith::cli {

bool is_option(std::u16string_view argument) {
    return argument.size() > 1 && argument[0] == u'-' &&
           !(argument[1] == u'.' || (argument[1] >= u'0' && argument[1] <= u'9'));
}

Option split_option(const std::u16string& argument) {
    const auto equals = argument.find(u'=');
    if (!argument.starts_with(u"--") || equals == std::u16string::npos) return {argument, {}};
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

std::u16string value_of(const std::vector<std::u16string>& arguments, std::size_t& i,
                        const std::optional<std::u16string>& attached) {
    if (attached) return *attached;
    if (i + 1 >= arguments.size()) {
        throw UsageError{utf8_from_utf16(arguments[i]) + " needs a value"};
    }
    return arguments[++i];
}

Gravity gravity_from(const std::u16string& text) {
    if (text == u"9.81") return Gravity::Standard;
    if (text == u"9.8") return Gravity::NineEight;
    if (text == u"10") return Gravity::Ten;
    throw UsageError{"--g takes 9.81, 9.8 or 10, not " + utf8_from_utf16(text)};
}

}  // namespace vorlith::cli
