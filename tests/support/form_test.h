#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>
#include <utility>

namespace vorlith::testing {

// Two columns of text, `first` and `second`, and a row for each pair of
// `rows` (a name in Latin-1 and a text in UTF-8), named after its name.
template <typename Rows>
void add_text_rows(const Rows& rows, const char* first, const char* second) {
    QTest::addColumn<QString>(first);
    QTest::addColumn<QString>(second);
    for (const auto& [name, text] : rows) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(text);
    }
}

// A Qt Test class whose every test function gets a new form from `make`
// (nullptr fails the function) and drops it afterwards.
class FormTest : public QObject {
    Q_OBJECT

public:
    explicit FormTest(std::function<std::unique_ptr<QWidget>()> make) : make_(std::move(make)) {}

protected:
    template <typename T>
    T* find(const char* name) const {
        return form_->findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<QWidget> form_;

private slots:
    void init() {
        form_ = make_();
        QVERIFY(form_ != nullptr);
    }
    void cleanup() { form_.reset(); }

private:
    std::function<std::unique_ptr<QWidget>()> make_;
};

}  // namespace vorlith::testing
