#pragma once
#include "Palette.h"
#include "game/state/Battle.h"

#include <QWidget>

#include <cstdint>

namespace korvath {

// The soldiers' overwatch, wounds and healer markers as the player's look
// wants them: larger, or in the colour-blind palette with shapes. The
// battle's own pictures keep the game's markers; this transparent child of
// the map picture covers them on the window only. With the normal palette at
// the normal size it draws nothing.
class MarkerOverlay : public QWidget {
    Q_OBJECT
  public:
    MarkerOverlay(const Battle& b, QWidget* map);
    void setLook(const Look& look);
    // The battle may have changed: the markers follow the soldiers.
    void refresh();
    // Whether it draws at all with this look.
    bool drawing() const;

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    uint64_t keyNow() const;

    const Battle& b_;
    Look look_;
    uint64_t key_ = 0;
};

} // namespace korvath
