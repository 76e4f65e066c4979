#include "controls/ip_address_field.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStringList>

namespace panoptix {
namespace {
// 0 to 255; anything longer or larger is refused as it is typed.
const QRegularExpression kOctet(QStringLiteral("^(25[0-5]|2[0-4][0-9]|1?[0-9]?[0-9])?$"));
}  // namespace

IpAddressField::IpAddressField(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (size_t i = 0; i < octets_.size(); ++i) {
        auto* box = new QLineEdit(this);
        box->setAlignment(Qt::AlignCenter);
        box->setMaxLength(3);
        box->setValidator(new QRegularExpressionValidator(kOctet, box));
        box->setFrame(false);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (text.size() == 3 && i + 1 < octets_.size()) {
                FocusBox(static_cast<int>(i) + 1);
            }
        });
        octets_[i] = box;
        layout->addWidget(box, 1);
        if (i + 1 < octets_.size()) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
    }
    setFocusProxy(octets_[0]);
}

void IpAddressField::SetAddressText(const QString& dotted) {
    const QStringList parts = dotted.split(QLatin1Char('.'));
    if (parts.size() != 4) {
        Clear();
        return;
    }
    for (size_t i = 0; i < octets_.size(); ++i) {
        bool ok = false;
        const int value = parts[static_cast<qsizetype>(i)].toInt(&ok);
        if (!ok || value < 0 || value > 255) {
            Clear();
            return;
        }
    }
    for (size_t i = 0; i < octets_.size(); ++i) {
        octets_[i]->setText(QString::number(parts[static_cast<qsizetype>(i)].toInt()));
    }
}

std::array<uint8_t, 4> IpAddressField::Octets() const {
    std::array<uint8_t, 4> octets{};
    for (size_t i = 0; i < octets_.size(); ++i) {
        bool ok = false;
        const int value = octets_[i]->text().toInt(&ok);
        octets[i] = ok && value >= 0 && value <= 255 ? static_cast<uint8_t>(value) : 0;
    }
    return octets;
}

QString IpAddressField::AddressText() const {
    if (IsBlank()) {
        return {};
    }
    QStringList parts;
    for (const QLineEdit* box : octets_) {
        parts << box->text();
    }
    return parts.join(QLatin1Char('.'));
}

bool IpAddressField::IsBlank() const {
    for (const QLineEdit* box : octets_) {
        if (!box->text().isEmpty()) {
            return false;
        }
    }
    return true;
}

void IpAddressField::Clear() {
    for (QLineEdit* box : octets_) {
        box->clear();
    }
}

int IpAddressField::IndexOf(const QObject* box) const {
    for (size_t i = 0; i < octets_.size(); ++i) {
        if (octets_[i] == box) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void IpAddressField::FocusBox(int index) {
    QLineEdit* box = octets_[static_cast<size_t>(index)];
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

bool IpAddressField::eventFilter(QObject* watched, QEvent* event) {
    const int index = IndexOf(watched);
    if (index < 0 || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const QLineEdit* box = octets_[static_cast<size_t>(index)];
    if (key->text() == QStringLiteral(".")) {
        if (index + 1 < static_cast<int>(octets_.size()) && !box->text().isEmpty()) {
            FocusBox(index + 1);
        }
        return true;  // a dot is never part of an octet
    }
    if (key->key() == Qt::Key_Backspace && box->text().isEmpty() && index > 0) {
        FocusBox(index - 1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace panoptix
