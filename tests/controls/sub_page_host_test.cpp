#include "controls/sub_page_host.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace panoptix {
namespace {

constexpr QRect kArea{750, 105, 490, 420};

void RunDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(SubPageHost, AReplacedPageHidesAtOnceAndGoesOnlyInTheEventLoop) {
    QWidget owner;
    auto host = std::make_unique<SubPageHost>(kArea);
    EXPECT_EQ(host->Current(), nullptr);

    const QPointer<QWidget> first = new QWidget(&owner);
    host->Show(first);
    EXPECT_EQ(host->Current(), first.data());
    EXPECT_EQ(first->geometry(), kArea);
    EXPECT_TRUE(first->isVisibleTo(&owner));

    host->Remove();
    EXPECT_EQ(host->Current(), nullptr);
    ASSERT_FALSE(first.isNull());  // its handler may still be running
    EXPECT_TRUE(first->isHidden());
    const QPointer<QWidget> second = new QWidget(&owner);
    host->Show(second);
    EXPECT_EQ(host->Current(), second.data());
    RunDeferredDeletes();
    EXPECT_TRUE(first.isNull());

    // Shown without a Remove first, a page still replaces the one shown; shown again, it stays.
    const QPointer<QWidget> third = new QWidget(&owner);
    host->Show(third);
    host->Show(third);
    RunDeferredDeletes();
    EXPECT_TRUE(second.isNull());
    ASSERT_FALSE(third.isNull());
    EXPECT_TRUE(third->isVisibleTo(&owner));

    // The owner going takes the page shown with it.
    host.reset();
    EXPECT_TRUE(third.isNull());
}

}  // namespace
}  // namespace panoptix
