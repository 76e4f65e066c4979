#pragma once
// An IPv4 address field of four octet boxes separated by dots. A blank box reads 0. Typing a
// dot, or a third digit, moves on to the next box; Backspace in an empty box moves back.
#include <QWidget>

#include <array>
#include <cstdint>

class QLineEdit;

namespace panoptix {

class IpAddressField : public QWidget {
    Q_OBJECT
  public:
    explicit IpAddressField(QWidget* parent = nullptr);

    // Fills the boxes from dotted text; an empty or malformed text clears them.
    void SetAddressText(const QString& dotted);
    // The four octets, first octet first; blank boxes read 0.
    std::array<uint8_t, 4> Octets() const;
    bool IsBlank() const;
    // The address as typed: the four boxes joined by dots ("192.0.2." with the last box
    // blank), or empty when every box is blank. Blank boxes are not read as 0 here.
    QString AddressText() const;
    void Clear();
    QLineEdit* OctetBox(int index) const { return octets_[static_cast<size_t>(index)]; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int IndexOf(const QObject* box) const;
    void FocusBox(int index);

    std::array<QLineEdit*, 4> octets_{};
};

}  // namespace panoptix
