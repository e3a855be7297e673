#include "TextsPanel.h"

#include "EditorSession.h"
#include "Fonts.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace korvath {

namespace {

std::vector<std::string> linesOf(const QPlainTextEdit* edit, bool blanksAsSpace) {
    std::vector<std::string> out;
    for (const QString& line : edit->toPlainText().split('\n')) out.push_back(line.toStdString());
    while (!out.empty() && out.back().empty()) out.pop_back();
    // In the scenario description an empty line would end a block early: a
    // blank line of the briefing is kept as a space, as the shipped ones are.
    if (blanksAsSpace)
        for (std::string& line : out)
            if (line.empty()) line = " ";
    return out;
}

QString textOf(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& l : lines) out << QString::fromStdString(l == " " ? "" : l);
    return out.join('\n');
}

} // namespace

TextsPanel::TextsPanel(EditorSession& session, QWidget* parent)
    : QWidget(parent), session_(session), title_(new QLineEdit(this)),
      briefing_(new QPlainTextEdit(this)), front_(new QPlainTextEdit(this)),
      objective_(new QLabel(this)), typing_(new QTimer(this)) {
    setObjectName("TextsPanel");
    title_->setObjectName("ScenarioTitle");
    briefing_->setObjectName("Briefing");
    front_->setObjectName("FrontText");
    briefing_->setFont(verdanaFont(9));
    briefing_->setLineWrapMode(QPlainTextEdit::NoWrap);
    briefing_->setPlaceholderText("What the Raiders are told before the battle.");
    front_->setPlaceholderText("What the front screen tells of this battle.");
    auto* form = new QFormLayout(this);
    form->addRow("Title", title_);
    form->addRow("Briefing", briefing_);
    auto* note = new QLabel("The briefing is written over the briefing picture as it stands, "
                            "line by line: keep the lines short.",
                            this);
    note->setWordWrap(true);
    form->addRow(QString(), note);
    form->addRow("Front screen", front_);
    objective_->setWordWrap(true);
    form->addRow("Objective", objective_);

    // What is typed becomes one step to undo once the typing pauses.
    typing_->setSingleShot(true);
    typing_->setInterval(700);
    connect(typing_, &QTimer::timeout, this, &TextsPanel::commit);
    for (QPlainTextEdit* e : {briefing_, front_})
        connect(e, &QPlainTextEdit::textChanged, this, [this] {
            if (!filling_) typing_->start();
        });
    connect(title_, &QLineEdit::editingFinished, this, &TextsPanel::commit);
    connect(&session_, &EditorSession::changed, this, &TextsPanel::refresh);
}

void TextsPanel::commit() {
    typing_->stop();
    if (!session_.isOpen()) return;
    const auto briefing = linesOf(briefing_, true), front = linesOf(front_, false);
    const std::string title = title_->text().trimmed().toStdString();
    session_.edit([&](ScenarioDocument& d) {
        if (!title.empty()) d.setTitle(title);
        if (d.briefing() != briefing) d.setBriefing(briefing);
        if (d.frontText() != front) d.setFrontText(front);
    });
}

void TextsPanel::refresh() {
    if (!session_.isOpen() || typing_->isActive()) return;
    const ScenarioDocument& d = session_.doc();
    filling_ = true;
    const QString title = QString::fromStdString(d.content().manifest.Title);
    if (title_->text() != title && !title_->hasFocus()) title_->setText(title);
    // What the player is typing in stays as typed.
    if (const QString b = textOf(d.briefing());
        briefing_->toPlainText() != b && !briefing_->hasFocus())
        briefing_->setPlainText(b);
    if (const QString f = textOf(d.frontText()); front_->toPlainText() != f && !front_->hasFocus())
        front_->setPlainText(f);
    const ScenarioManifest& m = d.content().manifest;
    objective_->setText(QString("Square %1, %2: the Operatives defend it and go for Raiders who "
                                "come near it. Move it with the Objective tool.")
                            .arg(m.ObjectiveX)
                            .arg(m.ObjectiveY));
    filling_ = false;
}

} // namespace korvath
