#include "controls/enter_esc_filter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace panoptix {
namespace {

TEST(EnterEscFilter, NamesOnlyThePressesOfReturnEnterAndEsc) {
    struct Case {
        QEvent::Type type;
        int key;
        EnterEscKey expected;
    };
    const Case cases[] = {
        {QEvent::KeyPress, Qt::Key_Return, EnterEscKey::Enter},
        {QEvent::KeyPress, Qt::Key_Enter, EnterEscKey::Enter},
        {QEvent::KeyPress, Qt::Key_Escape, EnterEscKey::Escape},
        {QEvent::KeyPress, Qt::Key_Space, EnterEscKey::None},
        {QEvent::KeyRelease, Qt::Key_Return, EnterEscKey::None},
        {QEvent::KeyRelease, Qt::Key_Escape, EnterEscKey::None},
    };
    for (const Case& c : cases) {
        const QKeyEvent event(c.type, c.key, Qt::NoModifier);
        EXPECT_EQ(EnterEscKeyOf(&event), c.expected) << c.type << " " << c.key;
        EXPECT_EQ(IsEnterOrEscape(&event), c.expected != EnterEscKey::None);
    }
    const QEvent other(QEvent::MouseButtonPress);
    EXPECT_EQ(EnterEscKeyOf(&other), EnterEscKey::None);
}

// A page with a field, and a window of its own below it that holds another field (as an open
// drop-down list is).
struct FilteredPage {
    FilteredPage() {
        field = new QLineEdit(&page);
        popup = new QWidget(&page, Qt::Window);
        popup_field = new QLineEdit(popup);
        EnterEscFilter::Install(
            &page, [this](EnterEscKey key, QWidget* target) { seen.emplace_back(key, target); });
    }

    QWidget page;
    QLineEdit* field = nullptr;
    QWidget* popup = nullptr;
    QLineEdit* popup_field = nullptr;
    std::vector<std::pair<EnterEscKey, QWidget*>> seen;
};

TEST(EnterEscFilter, SwallowsEnterAndEscOnThePageAndItsControlsOnly) {
    FilteredPage p;
    QSignalSpy returns(p.field, &QLineEdit::returnPressed);
    QTest::keyClick(p.field, Qt::Key_Return);
    QTest::keyClick(p.field, Qt::Key_Enter);
    QTest::keyClick(&p.page, Qt::Key_Escape);
    QTest::keyClick(p.field, Qt::Key_A);
    EXPECT_EQ(returns.count(), 0);
    EXPECT_EQ(p.field->text(), QStringLiteral("a"));
    const std::vector<std::pair<EnterEscKey, QWidget*>> expected{
        {EnterEscKey::Enter, p.field},
        {EnterEscKey::Enter, p.field},
        {EnterEscKey::Escape, &p.page},
    };
    EXPECT_EQ(p.seen, expected);

    // The window of its own keeps its keys.
    QSignalSpy popup_returns(p.popup_field, &QLineEdit::returnPressed);
    QTest::keyClick(p.popup_field, Qt::Key_Return);
    EXPECT_EQ(popup_returns.count(), 1);
    EXPECT_EQ(p.seen.size(), 3u);
}

}  // namespace
}  // namespace panoptix
