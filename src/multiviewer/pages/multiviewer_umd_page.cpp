#include "multiviewer/pages/multiviewer_umd_page.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QValidator>

#include <algorithm>

#include "link/trace_events.h"
#include "multiviewer/pages/multiviewer_control_ids.h"

namespace panoptix {
namespace {

constexpr QRect kOnOffCaption{30, 34, 130, 24};
constexpr QRect kOnOffList{170, 34, 120, 24};
constexpr QLine kDivider{20, 80, 470, 80};

// Windows 1-8 in the left column, 9-16 in the right one.
constexpr int kRowsPerColumn = 8;
constexpr int kRowTop = 100;
constexpr int kRowPitch = 37;
constexpr int kRowHeight = 24;
constexpr std::array<int, 2> kCaptionX{30, 255};
constexpr std::array<int, 2> kFieldX{110, 335};
constexpr int kCaptionWidth = 76;
constexpr int kFieldWidth = 115;

QRect CaptionRect(int window) {
    const int column = (window - 1) / kRowsPerColumn;
    const int row = (window - 1) % kRowsPerColumn;
    return {kCaptionX[static_cast<size_t>(column)], kRowTop + kRowPitch * row, kCaptionWidth,
            kRowHeight};
}

QRect FieldRect(int window) {
    const int column = (window - 1) / kRowsPerColumn;
    const int row = (window - 1) % kRowsPerColumn;
    return {kFieldX[static_cast<size_t>(column)], kRowTop + kRowPitch * row, kFieldWidth,
            kRowHeight};
}

// Typing never takes a label field past ten characters. A longer label the device reported is
// shown whole and may be shortened, but no character is typed into it until it is down to
// nine: an edit is taken when it leaves at most ten characters, when it shortens the text, or
// when it leaves the text as it was.
class LabelLengthValidator : public QValidator {
  public:
    LabelLengthValidator(int max_chars, QLineEdit* field)
        : QValidator(field), max_chars_(max_chars) {
        connect(field, &QLineEdit::textChanged, this,
                [this](const QString& text) { shown_ = text; });
    }

    // The text the field is about to show by code (not typed); it is the reference for edits.
    void Show(const QString& text) { shown_ = text; }

    State validate(QString& input, int&) const override {
        if (input.size() <= max_chars_ || input.size() < shown_.size() || input == shown_) {
            return Acceptable;
        }
        return Invalid;
    }

  private:
    int max_chars_;
    QString shown_;
};

}  // namespace

MultiviewerUmdPage::MultiviewerUmdPage(DeviceLink& link, MultiviewerState& multiviewer,
                                       QWidget* parent)
    : MultiviewerSubPage(link, multiviewer, parent) {
    CreateControls();
    FinishControls();
}

void MultiviewerUmdPage::CreateControls() {
    AddCaption(QStringLiteral("All Channel UMD"), kOnOffCaption);
    on_off_ = AddList(mv_id::kUmdOnOffList, kOnOffList,
                      {QStringLiteral("UMD OFF"), QStringLiteral("UMD ON")});
    SelectQuietly(on_off_, Multiviewer().umd_shown != 0 ? 1 : 0);
    connect(on_off_, &QComboBox::activated, this, &MultiviewerUmdPage::OnUmdOnOffChanged);

    for (int k = 1; k <= kMultiviewerWindows; ++k) {
        AddCaption(QStringLiteral("Window%1").arg(k), CaptionRect(k));
        QLineEdit* field = AddField(mv_id::UmdFieldId(k), FieldRect(k));
        const QString label =
            QString::fromStdU16String(Multiviewer().umd_name[static_cast<size_t>(k - 1)]);
        // Typing stops at ten characters; a longer label the device reported is shown whole
        // (and sent whole again) rather than cut. A paste is cut to fit.
        field->setMaxLength(std::max(kLabelMaxChars, static_cast<int>(label.size())));
        auto* validator = new LabelLengthValidator(kLabelMaxChars, field);
        validator->Show(label);
        field->setValidator(validator);
        field->setText(label);
        field->setCursorPosition(0);
        fields_[static_cast<size_t>(k - 1)] = field;
    }
}

void MultiviewerUmdPage::OnEnterKey(QWidget* target) {
    m_umd_string_index = -1;
    for (size_t i = 0; i < fields_.size(); ++i) {
        QLineEdit* field = fields_[i];
        if (field == target || field->hasFocus()) {
            m_umd_string_index = static_cast<int8_t>(i);
            break;
        }
    }
    trace::UmdStringIndex(m_umd_string_index);
    if (m_umd_string_index >= 0) {
        const auto i = static_cast<size_t>(m_umd_string_index);
        ChooseUmdLabel(Link(), Multiviewer(), CommandLink(), static_cast<uint8_t>(i + 1),
                       fields_[i]->text().toStdU16String());
    }
}

void MultiviewerUmdPage::OnUmdOnOffChanged(int entry) {
    if (entry < 0) {
        return;
    }
    ChooseUmdLabels(Link(), Multiviewer(), CommandLink(), static_cast<uint8_t>(entry));
}

void MultiviewerUmdPage::PaintPage(QPainter& painter) {
    UseSectionLinePen(painter);
    painter.drawLine(kDivider);
}

}  // namespace panoptix
