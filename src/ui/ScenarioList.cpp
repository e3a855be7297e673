#include "ScenarioList.h"

#include "JpegImage.h"
#include "editor/EditorSession.h"
#include "engine/Bmp.h"
#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/ShownText.h"
#include "engine/TextFile.h"
#include "game/editor/DescText.h"
#include "game/editor/FrontPicture.h"
#include "game/editor/ScenarioContent.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvath {

namespace {

QImage readPicture(const std::string& path) {
    if (path.empty() || !fileExists(path)) return {};
    if (endsWithIgnoringCase(path, ".jpg") || endsWithIgnoringCase(path, ".jpeg"))
        return loadJpeg(path);
    try {
        return toImage(readBmp(path));
    } catch (const DataError&) {
        return {};
    }
}

QStringList readText(const std::string& path) {
    QStringList lines;
    try {
        TextFile f = TextFile::load(path);
        while (!f.atEnd()) lines << QString::fromStdString(shownText(f.readLine()));
    } catch (const DataError&) {
    }
    return lines;
}

// A player's scenario without a picture of its own: its map, small.
QImage drawnFromMap(const std::string& appDir, const FoundScenario& s) {
    try {
        const ScenarioContent c = readScenarioContent(s.folder);
        const ScenarioPictures p = readScenarioPictures(appDir, s.folder, c.manifest);
        LinedText desc = c.desc;
        const auto soldiers = DescText(desc, "desc").units();
        return toImage(shrink(drawBattlefield(c.map, p.tiles, p.units, soldiers),
                              kFrontPictureWidth, kFrontPictureHeight));
    } catch (const DataError&) {
        return {};
    }
}

} // namespace

std::vector<ListedScenario> listScenarios(const std::string& appDir, bool withShipped) {
    std::vector<ListedScenario> out;
    if (withShipped)
        for (int i = 0; i < 2; ++i) {
            const ScenarioManifest& m = shippedScenarios()[i];
            ListedScenario l;
            l.shipped = i;
            l.title = QString::fromStdString(m.Title);
            l.text = readText(gamePath(appDir, "\\scenarios\\" + m.FrontText));
            l.picture = readPicture(gamePath(appDir, "\\graphics\\" + m.Picture));
            out.push_back(std::move(l));
        }
    for (FoundScenario& s : findScenarios(appDir)) {
        ListedScenario l;
        l.title =
            QString::fromStdString(shownText(s.manifest.Title.empty() ? s.key : s.manifest.Title));
        if (!s.problem.empty()) {
            l.text << "This scenario cannot be played:"
                   << QString::fromStdString(shownText(s.problem));
        } else {
            try {
                if (!s.manifest.FrontText.empty())
                    l.text = readText(fileInFolder(s.folder, s.manifest.FrontText));
                if (!s.manifest.Picture.empty())
                    l.picture = readPicture(fileInFolder(s.folder, s.manifest.Picture));
            } catch (const DataError& e) {
                l.text << QString::fromStdString(shownText(e.what()));
            }
            if (l.picture.isNull()) l.picture = drawnFromMap(appDir, s);
        }
        l.found = std::move(s);
        out.push_back(std::move(l));
    }
    return out;
}

ScenarioListDialog::ScenarioListDialog(const std::string& appDir, bool withShipped,
                                       const QString& title, const QString& chooseText,
                                       QWidget* parent)
    : QDialog(parent), listed_(listScenarios(appDir, withShipped)), list_(new QListWidget(this)),
      text_(new QLabel(this)) {
    setObjectName("ScenarioList");
    setWindowTitle(title);
    resize(820, 520);
    list_->setObjectName("Scenarios");
    list_->setIconSize(QSize(kFrontPictureWidth * 2 / 3, kFrontPictureHeight * 2 / 3));
    list_->setSpacing(4);
    list_->setMinimumWidth(440);
    text_->setObjectName("ScenarioText");
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    text_->setMinimumWidth(320);
    text_->setMargin(8);
    for (const ListedScenario& l : listed_) {
        QImage pic = l.picture.isNull()
                         ? QImage(kFrontPictureWidth, kFrontPictureHeight, QImage::Format_RGB32)
                         : l.picture;
        if (l.picture.isNull()) pic.fill(Qt::black);
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(pic)), l.title, list_);
        if (!l.found.problem.empty()) item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
        item->setToolTip(l.shipped >= 0 ? QString("Comes with the game")
                                        : QString::fromStdString(l.found.folder));
    }
    auto* row = new QHBoxLayout;
    row->addWidget(list_, 3);
    row->addWidget(text_, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* choose = buttons->addButton(chooseText, QDialogButtonBox::AcceptRole);
    choose->setObjectName("ChooseScenario");
    choose->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    if (listed_.empty()) {
        auto* none = new QLabel("No scenarios of players were found. Copy a scenario's folder "
                                "into\n" +
                                    QString::fromStdString(playersScenariosFolder()) +
                                    "\nor make one with the editor.",
                                this);
        layout->addWidget(none);
    }
    layout->addLayout(row, 1);
    layout->addWidget(buttons);
    connect(list_, &QListWidget::currentRowChanged, this, [this, choose](int r) {
        showText(r);
        choose->setEnabled(r >= 0 && listed_[r].found.problem.empty());
    });
    // The text of the scenario under the mouse, as on the front screen.
    list_->setMouseTracking(true);
    connect(list_, &QListWidget::itemEntered, this,
            [this](QListWidgetItem* item) { showText(list_->row(item)); });
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int r = list_->row(item);
        if (!listed_[r].found.problem.empty()) return;
        chosen_ = r;
        accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        chosen_ = list_->currentRow();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (!listed_.empty()) showText(0);
}

void ScenarioListDialog::showText(int row) {
    if (row < 0 || row >= static_cast<int>(listed_.size())) return;
    text_->setText(listed_[row].text.join('\n'));
}

const ListedScenario* ScenarioListDialog::chosen() const {
    return chosen_ >= 0 && chosen_ < static_cast<int>(listed_.size()) ? &listed_[chosen_] : nullptr;
}

} // namespace korvath
