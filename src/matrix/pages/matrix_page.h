#pragma once
// MatrixPage: the matrix router's page (1240 x 580 at the page rectangle). Eight input
// buttons above eight output buttons on the left; the CONTROL, SETTING and PRESET tabs at the top
// right and below them the area that holds one sub page at a time: the function buttons (1,
// shown first), the connection settings (2) or the presets (3). The router never answers, so what
// the buttons show is the panel's own record of the routes, kept in the matrix block that outlives
// the page.
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>

#include "controls/sub_page_host.h"
#include "link/device_link.h"
#include "matrix/core/matrix_state.h"
#include "matrix/core/matrix_views.h"

class CShadeButtonST;

namespace panoptix {

class MatrixPage : public QWidget, public CrosspointView {
    Q_OBJECT

  public:
    static constexpr uint8_t kNoSubPage = 255;
    static constexpr int kFunctionSubPage = 1;
    static constexpr int kSettingSubPage = 2;
    static constexpr int kPresetSubPage = 3;
    static constexpr QRect kSubPageArea{750, 105, 490, 420};
    static constexpr int kBackgroundBitmap = 229;

    MatrixPage(DeviceLink& link, MatrixState& matrix, QWidget* parent);
    MatrixPage(const MatrixPage&) = delete;
    MatrixPage& operator=(const MatrixPage&) = delete;

    // Shows sub page n (1 function, 2 setting, 3 preset) in the sub-page area, replacing the
    // current one; the sub page already shown, or another number, changes nothing.
    void ShowSubPage(int n);

    uint8_t current_sub_page() const { return current_sub_page_; }
    QWidget* SubPage() const { return sub_pages_.Current(); }

    // The crosspoint buttons' pictures, as the rules draw them (k = 1..8).
    void ShowInput(int k, CrosspointPicture picture) override;
    void ShowOutput(int k, CrosspointPicture picture) override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void CreateControls();

    DeviceLink& link_;
    MatrixState& matrix_;
    std::array<CShadeButtonST*, kMatrixPorts> inputs_{};
    std::array<CShadeButtonST*, kMatrixPorts> outputs_{};
    // CONTROL, SETTING and PRESET, in sub page order.
    std::array<CShadeButtonST*, 3> tabs_{};
    SubPageHost sub_pages_{kSubPageArea};
    uint8_t current_sub_page_ = kNoSubPage;
};

}  // namespace panoptix
