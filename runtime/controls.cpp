#include "controls.h"

#include "runtime/runtime_error.h"

namespace vorlith {

std::u16string text_of(const QLineEdit* box) {
    if (box == nullptr) raise(ErrorNumber::ObjectNotSet);
    return box->text().toStdU16String();
}

void set_caption(QLabel* label, std::string_view utf8) {
    if (label == nullptr) raise(ErrorNumber::ObjectNotSet);
    label->setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace vorlith
