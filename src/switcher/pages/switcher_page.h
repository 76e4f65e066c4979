#pragma once
// SwitcherPage: the production switcher's panel (device type byte 0xA5). Program and
// preview rows, Cut and Auto, the transition lever, BKGD and the three layers, FTB, the three
// transition types and rates, ON AIR, STREAM ON, and on the right the settings area holding one
// of four settings pages. The switcher is never asked for its state: every button's picture,
// the page in the settings area and the lever's thumb are drawn from the switcher block, so a
// panel made at any moment looks as the operator left the last one. Every action runs its
// rule (switcher/core) and repaints from the block; frames go by UDP only. The keys 1-8,
// Ctrl+1-8, Space and Ctrl+Space run the handlers of the preview and program buttons, Cut and
// Auto (switcher_panel_keys.h); the buttons' tool tips name them.
#include <QRect>
#include <QWidget>

#include <array>
#include <optional>

#include "controls/sub_page_host.h"
#include "link/device_link.h"
#include "switcher/core/switcher_controls.h"
#include "switcher/core/switcher_panel.h"
#include "switcher/core/switcher_state.h"

class CBitmapSlider;
class CButtonST;
class QTimer;

namespace panoptix {

class SwitcherPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr QSize kPanelSize{1240, 580};
    static constexpr QRect kSettingsArea{kSettingsAreaX, kSettingsAreaY, kSettingsAreaWidth,
                                         kSettingsAreaHeight};

    SwitcherPage(DeviceLink& link, SwitcherState& state, QWidget* parent);
    ~SwitcherPage() override;
    SwitcherPage(const SwitcherPage&) = delete;
    SwitcherPage& operator=(const SwitcherPage&) = delete;

    // The settings page shown in the settings area.
    QWidget* ShownSettingsPage() const { return settings_pages_.Current(); }
    CBitmapSlider* Lever() const { return lever_; }
    // The automatic transition's timer of id 1-3 (rates r1-r3), for tests.
    QTimer* AutoTimer(int timer_id) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void CreateControls();
    void CreateLever();
    void OnButton(int control_id);
    void OnLeverMoving(int position);
    void OnLeverMoved(int position);
    void OnLeverClicked();
    void StartAutoTransition();
    void OnAutoTimer(int timer_id);
    void Apply(const LeverEffects& effects);
    // Pictures, thumb and settings page from the block.
    void ShowBlock();
    void ShowSettingsPage();

    SwitcherPanel panel_;
    std::array<CButtonST*, kPanelControls.size()> buttons_{};
    CBitmapSlider* lever_ = nullptr;
    std::array<QTimer*, 3> auto_timers_{};
    SubPageHost settings_pages_{kSettingsArea};
    std::optional<uint8_t> shown_page_;
};

}  // namespace panoptix
