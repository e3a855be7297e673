#include "QtPorts.h"
#include "engine/ShownText.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <QThread>
#include <QTime>
#include <QUrl>

#include <utility>

namespace korvath {

QtClock::QtClock() {
    started_.start();
}

uint32_t QtClock::ticks() {
    return static_cast<uint32_t>(started_.elapsed());
}

int QtClock::msSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay();
}

void waitOnEventLoop(int ms, bool letMessagesRun) {
    // Animations wait on the tick count; meanwhile the screen keeps being
    // painted, and clicks and keys get through only when the rule allows it.
    const auto flags = letMessagesRun ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(flags);
        if (t.elapsed() + 1 < ms) QThread::msleep(1);
    } while (t.elapsed() < ms);
    // Clicks and keys held back during the wait are only handed out when the
    // event loop next wakes; wake it now, or they would wait for the player's
    // next input and a click would seem lost.
    if (!letMessagesRun)
        if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

QString QtDialogs::qtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
    if (out.isEmpty() && !filter.empty()) out << QString::fromStdString(filter);
    return out.join(QStringLiteral(";;"));
}

std::string QtDialogs::withDefaultExtension(const std::string& file, const std::string& ext) {
    if (file.empty() || ext.empty()) return file;
    std::string suffix = ext;
    if (suffix.rfind("*", 0) == 0) suffix.erase(0, 1);
    if (suffix.empty() || suffix == ".*") return file;
    if (suffix[0] != '.') suffix = "." + suffix;
    if (!QFileInfo(QString::fromStdString(file)).suffix().isEmpty()) return file;
    return file + suffix;
}

void QtDialogs::information(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("Korvath"),
                             QString::fromStdString(shownText(text)), QMessageBox::Ok);
}

void QtDialogs::warning(const std::string& text) {
    QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Korvath"),
                         QString::fromStdString(text), QMessageBox::Ok);
}

bool QtDialogs::confirm(const std::string& question) {
    return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Korvath"),
                                 QString::fromStdString(shownText(question)),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void configureFileDialog(QFileDialog& dialog, const FileQuestion& q, bool save) {
    dialog.setWindowTitle(save ? QStringLiteral("Save game") : QStringLiteral("Load game"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QtDialogs::qtFilter(q.filter));
    // "*.map" -> "map": a name typed without an extension becomes NAME.map.
    QString suffix = QString::fromStdString(q.defaultExt);
    while (suffix.startsWith('*') || suffix.startsWith('.')) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    const QString initial = QString::fromStdString(q.initialDir);
    // The first save finds its folder ready, so the dialog opens where the game will be written.
    if (save) QDir().mkpath(initial);
    QString opensIn = initial;
    // A player who has never saved has no folder of his own yet: loading then
    // opens where the game's quick-start sets lie.
    if (!save && !QFileInfo(initial).isDir())
        for (const std::string& folder : q.otherFolders)
            if (QFileInfo(QString::fromStdString(folder)).isDir()) {
                opensIn = QString::fromStdString(folder);
                break;
            }
    dialog.setDirectory(opensIn);
    // Qt remembers the side bar of every earlier dialog; the game's own list
    // replaces it, so old folders never pile up there.
    QList<QUrl> places{QUrl::fromLocalFile(initial)};
    for (const std::string& folder : q.otherFolders)
        places << QUrl::fromLocalFile(QString::fromStdString(folder));
    places << QUrl::fromLocalFile(QDir::homePath());
    dialog.setSidebarUrls(places);
}

namespace {

// One file dialog for both questions, over the active window.
std::string askFile(const FileQuestion& q, bool save) {
    QFileDialog dialog(QApplication::activeWindow());
    configureFileDialog(dialog, q, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const std::string file = dialog.selectedFiles().first().toStdString();
    return save ? QtDialogs::withDefaultExtension(file, q.defaultExt) : file;
}

} // namespace

std::string QtDialogs::openFile(const FileQuestion& q) {
    if (!preset_.empty()) return std::exchange(preset_, {});
    return askFile(q, false);
}

std::string QtDialogs::saveFile(const FileQuestion& q) {
    if (!preset_.empty()) return std::exchange(preset_, {});
    return askFile(q, true);
}

} // namespace korvath
