#include "EditorSession.h"

#include <exception>

namespace korvath {

QImage toImage(const Raster& r) {
    if (r.empty()) return {};
    return QImage(reinterpret_cast<const uchar*>(r.data()), r.width(), r.height(), r.width() * 4,
                  QImage::Format_RGB32)
        .copy();
}

void EditorSession::open(ScenarioDocument d) {
    doc_.emplace(std::move(d));
    const ScenarioPictures& p = doc_->pictures();
    for (int g = 0; g < 157; ++g) {
        tiles_[g] = toImage(p.tiles[g]);
        uint64_t r = 0, gr = 0, b = 0, n = 0;
        for (int y = 0; y < tiles_[g].height(); ++y)
            for (int x = 0; x < tiles_[g].width(); ++x, ++n) {
                const QRgb c = tiles_[g].pixel(x, y);
                r += qRed(c), gr += qGreen(c), b += qBlue(c);
            }
        colours_[g] = n ? qRgb(int(r / n), int(gr / n), int(b / n)) : 0;
    }
    for (int row = 0; row < 17; ++row)
        for (int frame = 0; frame < 9; ++frame)
            soldiers_[row][frame] = toImage(p.units[row][frame]);
    emit opened();
    emit changed();
}

bool EditorSession::edit(const std::function<void(ScenarioDocument&)>& change) {
    if (!doc_) return false;
    // One step to undo, however many edits it makes.
    doc_->beginStroke();
    try {
        change(*doc_);
    } catch (const std::exception& e) {
        doc_->endStroke();
        emit refused(QString::fromStdString(e.what()));
        emit changed();
        return false;
    }
    doc_->endStroke();
    emit changed();
    return true;
}

void EditorSession::endStroke() {
    if (!doc_) return;
    doc_->endStroke();
    emit changed();
}

void EditorSession::undo() {
    if (!doc_) return;
    doc_->undo();
    emit changed();
}

void EditorSession::redo() {
    if (!doc_) return;
    doc_->redo();
    emit changed();
}

const QImage& EditorSession::tile(int glyph) const {
    return glyph >= 1 && glyph < 157 && !tiles_[glyph].isNull() ? tiles_[glyph] : blank_;
}

const QImage& EditorSession::soldier(int picture, int frame) const {
    if (picture < 1 || picture > 16 || frame < 1 || frame > 8) return blank_;
    return soldiers_[picture][frame];
}

} // namespace korvath
