#include "shell/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/skin.h"

namespace panoptix {
namespace {
constexpr int kApplicationIconId = 128;
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于 Panoptix"));

    auto* icon = new QLabel(this);
    icon->setPixmap(skin::Icon(kApplicationIconId).pixmap(32, 32));
    auto* text = new QLabel(QStringLiteral("Panoptix，1.0 版"), this);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(text, 1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    setFixedSize(sizeHint().expandedTo(QSize(340, 90)));
}

}  // namespace panoptix
