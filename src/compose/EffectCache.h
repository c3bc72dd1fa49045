#pragma once

#include <QImage>
#include <QString>

#include <list>
#include <utility>

// The softened shadows and the outlines of the items' texts, as last made: blurring a shadow and
// stroking the glyphs for an outline are most of what effects cost, and a text dragged or repainted
// in parts keeps them. They are found again by what they are made of (the text, its font, the colour
// and sizes), whatever the item.
class EffectCache {
public:
    // The shadow or outline made of `key`; null or empty when there is none kept.
    QImage findShadow(const QString& key) { return find(shadows_, key); }
    void keepShadow(const QString& key, const QImage& shadow) { keep(shadows_, key, shadow); }
    QImage findOutline(const QString& key) { return find(outlines_, key); }
    void keepOutline(const QString& key, const QImage& outline) { keep(outlines_, key, outline); }

private:
    static constexpr std::size_t kKept = 16;

    template <class T> using Kept = std::list<std::pair<QString, T>>; // most recently used first

    template <class T> static T find(Kept<T>& kept, const QString& key) {
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            if (it->first != key) continue;
            kept.splice(kept.begin(), kept, it);
            return kept.front().second;
        }
        return T();
    }
    template <class T> static void keep(Kept<T>& kept, const QString& key, const T& value) {
        kept.emplace_front(key, value);
        if (kept.size() > kKept) kept.pop_back();
    }

    Kept<QImage> shadows_;
    Kept<QImage> outlines_;
};
