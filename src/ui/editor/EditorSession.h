#pragma once
#include "game/editor/ScenarioDocument.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace korvath {

// The scenario open in the editor, shared by its panels: each edit goes
// through here, and every panel redraws from the document when it changed.
// What the document refuses (a bad name …) is told, never half done.
class EditorSession : public QObject {
    Q_OBJECT
  public:
    explicit EditorSession(QObject* parent = nullptr) : QObject(parent) {}

    bool isOpen() const { return doc_.has_value(); }
    ScenarioDocument& doc() { return *doc_; }
    const ScenarioDocument& doc() const { return *doc_; }
    void open(ScenarioDocument d);

    // Runs one edit as one step to undo; false (and `refused` told) when the
    // document would not.
    bool edit(const std::function<void(ScenarioDocument&)>& change);
    void undo();
    void redo();
    // A drag of the brush: its paints are one step to undo.
    void beginStroke() {
        if (doc_) doc_->beginStroke();
    }
    void endStroke();

    // The tile and soldier pictures as the window shows them.
    const QImage& tile(int glyph) const;
    const QImage& soldier(int picture, int frame = 1) const;
    // A tile's colour on the overhead map: the mean of its pixels.
    QRgb tileColour(int glyph) const { return glyph >= 0 && glyph < 157 ? colours_[glyph] : 0; }

  signals:
    void opened();
    void changed();
    void refused(const QString& why);

  private:
    std::optional<ScenarioDocument> doc_;
    std::array<QImage, 157> tiles_;
    std::array<std::array<QImage, 9>, 17> soldiers_;
    std::array<QRgb, 157> colours_{};
    QImage blank_;
};

QImage toImage(const Raster& r);

} // namespace korvath
