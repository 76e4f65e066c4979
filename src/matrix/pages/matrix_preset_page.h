#pragma once
// MatrixPresetPage: the matrix page's PRESET sub page (490 x 420). Eight preset keys
// and STORE. A click on a preset recalls it: the page's route record becomes the preset's and
// the router gets one apply text per input that carries outputs. Ctrl+click, or a click while
// STORE is armed, stores the record into the preset instead (STORE disarms after one store). A
// key is blue while its preset holds a routing. The presets are kept per router in the user's
// settings file; a line at the bottom says what the last press did.
#include <QString>
#include <QWidget>

#include <array>
#include <string>

#include "link/device_link.h"
#include "matrix/core/matrix_presets.h"
#include "matrix/core/matrix_state.h"
#include "matrix/core/matrix_views.h"

class CShadeButtonST;

namespace panoptix {

class MatrixPresetPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kBackgroundBitmap = 379;
    static constexpr int kStoreNormal = 382;
    static constexpr int kStoreArmed = 383;
    // Preset key k: empty 382 + 2k, holding a routing 383 + 2k.
    static constexpr int PresetBitmapId(int k, bool stored) {
        return 382 + 2 * k + (stored ? 1 : 0);
    }

    MatrixPresetPage(DeviceLink& link, MatrixState& matrix, CrosspointView& crosspoints,
                     QWidget* parent);

    // What the line at the bottom says.
    const QString& StatusText() const { return status_; }
    bool StoreArmed() const { return store_armed_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void OnPresetClicked(int k);
    void OnStoreClicked();
    // The bank of the router in use, read again when the router is another than before.
    void LoadBank();
    void SavePreset(int k);
    void ShowPresetPictures();
    void SetStatus(const QString& text);

    DeviceLink& link_;
    MatrixState& matrix_;
    CrosspointView& crosspoints_;
    std::array<CShadeButtonST*, kMatrixPresets> presets_{};
    CShadeButtonST* store_ = nullptr;
    MatrixPresetBank bank_{};
    std::string router_key_;
    bool store_armed_ = false;
    bool ctrl_click_ = false;  // the press that ends in the click held Ctrl
    QString status_;
};

}  // namespace panoptix
