#pragma once

#include "model/ItemExtras.h"

#include <QRect>
#include <QRegion>
#include <QSize>

#include <optional>
#include <string>
#include <vector>

class CDatedPicture;
struct ImprintItem;

// Which pixels of the work picture the next paint must render again. The picture's items and
// settings are written in place by the view, the format bar and the options, so the tracker
// compares them with what they were at the last render: nothing changed, only some items moved,
// turned, were hidden or recoloured (their old and new coverage), or anything else (all of it).
class RenderTracker {
public:
    enum class Extent { Nothing, Region, Whole };
    struct Plan {
        Extent extent = Extent::Whole;
        QRegion region; // work-picture pixels, for Extent::Region
    };

    Plan plan(const CDatedPicture& picture) const;
    // Call after rendering by the plan: what is on the work picture now.
    void noteRendered(const CDatedPicture& picture);
    // The next plan renders the whole picture.
    void forget();

private:
    // What the whole picture depends on.
    struct Scene {
        qint64 workKey = 0; // the work picture's pixels as the last render left them
        QSize workSize;
        qint64 pictureKey = 0, borderKey = 0, watermarkKey = 0;
        float whiteOffsetX = 0, whiteOffsetY = 0, pictureWidth = 0, pictureHeight = 0;
        int whiteColor = 0, borderOpacity = 0, borderAutoRotate = 0, watermarkIndex = 0;
        float aspectWidth = 0, aspectHeight = 0;
        std::string dateFormat;
        long long clockShiftSeconds = 0;
        int localeNames = 0;
        int itemCount = 0;
        bool operator==(const Scene&) const = default;
    };
    // What decides an item's drawn size: a change here may change what it covers.
    struct ItemLook {
        unsigned tag = 0;
        std::string fontName, valueText, label, unit, resolvedDate;
        int fontSize = 0, fontStyle = 0, anchor = 0;
        TextEffects effects;
        bool operator==(const ItemLook&) const = default;
    };
    struct ItemState {
        ItemLook look;
        int visible = 0, posX = 0, posY = 0, angle = 0, color = 0, opacity = 0, autoColor = 0;
        QRect coverage; // work-picture pixels it could paint at the last render
    };

    static Scene sceneOf(const CDatedPicture& picture);
    static ItemLook lookOf(const ImprintItem& item);

    std::optional<Scene> scene_;
    std::vector<ItemState> items_;
};
