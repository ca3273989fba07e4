#pragma once

#include <QLabel>
#include <QLineEdit>
#include <string>
#include <string_view>

namespace vorlith {

// The whole text of an input box. Raises 91 when there is no box.
std::u16string text_of(const QLineEdit* box);

// Sets the whole caption of a label, at once. Raises 91 when there is no label.
void set_caption(QLabel* label, std::string_view utf8);

}  // namespace vorlith
