#pragma once

#include "formatbar/ColorChooser.h"
#include "model/ItemExtras.h"

#include <QFrame>

class CColorButton;
class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

// The small panel the format bar's "Effects" button opens: the outline, the shadow and the box of the
// item's text, and the automatic colour. It edits a copy of the effects and tells each change at once,
// so the picture shows it while the panel is open.
class CEffectsPanel : public QFrame {
    Q_OBJECT

public:
    explicit CEffectsPanel(QWidget* parent = nullptr);

    void setColorChooser(ColorChooser* chooser);
    void SetCustomColors(CustomColors* customColors);

    // Shows these effects; no change is told for it.
    void showEffects(const TextEffects& effects);
    const TextEffects& effects() const { return effects_; }

signals:
    // The user changed one of the effects: `what` names it ("Outline width"); `typed` when it came
    // from a number box, whose steps are one change together.
    void effectsChanged(const QString& what, bool typed);

private:
    void read(const QString& what, bool typed);
    void enableParts();

    TextEffects effects_;
    bool filling_ = false;
    QCheckBox* outline_ = nullptr;
    CColorButton* outlineColor_ = nullptr;
    QDoubleSpinBox* outlineWidth_ = nullptr;
    QCheckBox* shadow_ = nullptr;
    CColorButton* shadowColor_ = nullptr;
    QDoubleSpinBox* shadowOffset_ = nullptr;
    QDoubleSpinBox* shadowSoftness_ = nullptr;
    QCheckBox* box_ = nullptr;
    CColorButton* boxColor_ = nullptr;
    QSpinBox* boxOpacity_ = nullptr;
    QDoubleSpinBox* boxPadding_ = nullptr;
    QCheckBox* boxRounded_ = nullptr;
    QCheckBox* autoColor_ = nullptr;
};
