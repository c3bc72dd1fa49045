#include "formatbar/EffectsPanel.h"

#include "formatbar/ColorButton.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

QDoubleSpinBox* pointsBox(QWidget* parent, const char* name, double most) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, most);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QCoreApplication::translate("CEffectsPanel", " pt"));
    return box;
}

} // namespace

CEffectsPanel::CEffectsPanel(QWidget* parent) : QFrame(parent, Qt::Popup) {
    setObjectName(QStringLiteral("effectsPanel"));
    setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(this);
    const auto check = [&](const char* text, const char* name) {
        auto* box = new QCheckBox(QString::fromUtf8(text), this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    const auto colour = [&](const char* name, const QString& accessible) {
        auto* button = new CColorButton(this);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(accessible);
        button->setFixedSize(32, 20);
        return button;
    };
    const auto label = [&](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setBuddy(buddy);
        return l;
    };

    outline_ = check("&Outline", "outline");
    outlineColor_ = colour("outlineColor", tr("Outline colour"));
    outlineWidth_ = pointsBox(this, "outlineWidth", 10);
    grid->addWidget(outline_, 0, 0);
    grid->addWidget(outlineColor_, 0, 1);
    grid->addWidget(label("&Width:", outlineWidth_), 0, 2);
    grid->addWidget(outlineWidth_, 0, 3);

    shadow_ = check("&Shadow", "shadow");
    shadowColor_ = colour("shadowColor", tr("Shadow colour"));
    shadowOffset_ = pointsBox(this, "shadowOffset", 20);
    shadowSoftness_ = pointsBox(this, "shadowSoftness", 20);
    grid->addWidget(shadow_, 1, 0);
    grid->addWidget(shadowColor_, 1, 1);
    grid->addWidget(label("O&ffset:", shadowOffset_), 1, 2);
    grid->addWidget(shadowOffset_, 1, 3);
    grid->addWidget(label("So&ftness:", shadowSoftness_), 1, 4);
    grid->addWidget(shadowSoftness_, 1, 5);

    box_ = check("&Box", "box");
    boxColor_ = colour("boxColor", tr("Box colour"));
    boxPadding_ = pointsBox(this, "boxPadding", 20);
    boxOpacity_ = new QSpinBox(this);
    boxOpacity_->setObjectName(QStringLiteral("boxOpacity"));
    boxOpacity_->setRange(0, 255);
    boxRounded_ = check("&Round corners", "boxRounded");
    grid->addWidget(box_, 2, 0);
    grid->addWidget(boxColor_, 2, 1);
    grid->addWidget(label("&Padding:", boxPadding_), 2, 2);
    grid->addWidget(boxPadding_, 2, 3);
    grid->addWidget(label("O&p:", boxOpacity_), 2, 4);
    grid->addWidget(boxOpacity_, 2, 5);
    grid->addWidget(boxRounded_, 3, 1, 1, 3);

    autoColor_ = check("&Automatic colour: white or black, whichever stands out from the photo", "autoColor");
    grid->addWidget(autoColor_, 4, 0, 1, 6);

    for (QCheckBox* box : {outline_, shadow_, box_, boxRounded_, autoColor_})
        connect(box, &QCheckBox::clicked, this,
                [this, box] { read(box->text().remove(QLatin1Char('&')), false); });
    for (CColorButton* button : {outlineColor_, shadowColor_, boxColor_})
        connect(button, &QAbstractButton::clicked, this,
                [this, button] { read(button->accessibleName(), false); });
    const std::pair<QDoubleSpinBox*, const char*> numbers[] = {{outlineWidth_, "Outline width"},
                                                               {shadowOffset_, "Shadow offset"},
                                                               {shadowSoftness_, "Shadow softness"},
                                                               {boxPadding_, "Box padding"}};
    for (const auto& [spin, what] : numbers)
        connect(spin, &QDoubleSpinBox::valueChanged, this,
                [this, what = what] { read(QLatin1String(what), true); });
    connect(boxOpacity_, &QSpinBox::valueChanged, this, [this] { read(tr("Box opacity"), true); });
}

void CEffectsPanel::setColorChooser(ColorChooser* chooser) {
    for (CColorButton* button : {outlineColor_, shadowColor_, boxColor_})
        button->setColorChooser(chooser);
}

void CEffectsPanel::SetCustomColors(CustomColors* customColors) {
    for (CColorButton* button : {outlineColor_, shadowColor_, boxColor_})
        button->SetCustomColors(customColors);
}

void CEffectsPanel::showEffects(const TextEffects& effects) {
    filling_ = true;
    effects_ = effects;
    outline_->setChecked(effects.outline);
    outlineColor_->SetColor(effects.outlineColor);
    outlineWidth_->setValue(effects.outlineWidthPt);
    shadow_->setChecked(effects.shadow);
    shadowColor_->SetColor(effects.shadowColor);
    shadowOffset_->setValue(effects.shadowOffsetPt);
    shadowSoftness_->setValue(effects.shadowSoftnessPt);
    box_->setChecked(effects.box);
    boxColor_->SetColor(effects.boxColor);
    boxPadding_->setValue(effects.boxPaddingPt);
    boxOpacity_->setValue(effects.boxOpacity);
    boxRounded_->setChecked(effects.boxRounded);
    autoColor_->setChecked(effects.autoColor);
    enableParts();
    filling_ = false;
}

void CEffectsPanel::enableParts() {
    // An automatic colour chooses the outline's colour too.
    outlineColor_->setEnabled(outline_->isChecked() && !autoColor_->isChecked());
    outlineColor_->SetActive(outlineColor_->isEnabled());
    outlineWidth_->setEnabled(outline_->isChecked());
    for (QWidget* part : std::initializer_list<QWidget*>{shadowColor_, shadowOffset_, shadowSoftness_})
        part->setEnabled(shadow_->isChecked());
    shadowColor_->SetActive(shadow_->isChecked());
    for (QWidget* part : std::initializer_list<QWidget*>{boxColor_, boxPadding_, boxOpacity_, boxRounded_})
        part->setEnabled(box_->isChecked());
    boxColor_->SetActive(box_->isChecked());
}

void CEffectsPanel::read(const QString& what, bool typed) {
    if (filling_) return;
    TextEffects e;
    e.outline = outline_->isChecked();
    e.outlineColor = outlineColor_->GetColor();
    e.outlineWidthPt = static_cast<float>(outlineWidth_->value());
    e.shadow = shadow_->isChecked();
    e.shadowColor = shadowColor_->GetColor();
    e.shadowOffsetPt = static_cast<float>(shadowOffset_->value());
    e.shadowSoftnessPt = static_cast<float>(shadowSoftness_->value());
    e.box = box_->isChecked();
    e.boxColor = boxColor_->GetColor();
    e.boxPaddingPt = static_cast<float>(boxPadding_->value());
    e.boxOpacity = boxOpacity_->value();
    e.boxRounded = boxRounded_->isChecked();
    e.autoColor = autoColor_->isChecked();
    enableParts();
    if (e == effects_) return;
    effects_ = e;
    emit effectsChanged(what, typed);
}
