#include "HelpPages.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

// The two help pages of the battle window. Every gesture and number here is
// the game's own: the costs come from each weapon and item (the panel shows
// them), the keys are those the battle window answers to.
namespace korvath {

namespace {

// One group of the controls page: a heading and rows of action, gesture.
QString group(const char* heading,
              std::initializer_list<std::pair<const char*, const char*>> rows) {
    QString html = QStringLiteral("<h3>%1</h3><table cellspacing=0 cellpadding=3 width=100%>")
                       .arg(QString::fromUtf8(heading));
    for (const auto& [action, gesture] : rows)
        html += QStringLiteral("<tr><td width=45%>%1</td><td><b>%2</b></td></tr>")
                    .arg(QString::fromUtf8(action), QString::fromUtf8(gesture));
    return html + QStringLiteral("</table>");
}

} // namespace

QString controlsPage() {
    return QStringLiteral("<h2>Controls</h2>") +
           group("Select and move",
                 {{"Select a soldier", "left click on him"},
                  {"Select the next soldier with points left", "Next unit button"},
                  {"Walk", "with a soldier selected, left click on the square"},
                  {"Ask what a walk costs, without walking", "right click on the square"},
                  {"Stop a walk after its current step", "Esc"},
                  {"Drop the selection (a second press if a shot is armed)",
                   "Cancel button, K or Esc"}}) +
           group("Shoot", {{"Arm an aimed shot", "aimed shot button, then left click the target"},
                           {"Arm a quick shot", "quick shot button, then left click the target"},
                           {"Leave fire mode, keep the soldier", "Cancel button, K or Esc"}}) +
           group("Overwatch", {{"Keep this soldier's points for reaction fire", "Overwatch button"},
                               {"Take him off overwatch", "select him again by a click"}}) +
           group("Close combat",
                 {{"Ready a melee weapon held in hand", "hand to hand fighting button"},
                  {"Strike", "left click on an enemy next to him"}}) +
           group("Heal", {{"Take up the medikit", "Equipment, then click the medikit's row once"},
                          {"Treat a wounded soldier of yours (he may be the healer)",
                           "left click on him on the map"}}) +
           group(
               "Equipment",
               {{"Show the six slots", "Equipment (Map shows the overhead map)"},
                {"Reload", "click the magazine's row, then the weapon's row"},
                {"Swap two items (the first row goes to the second)",
                 "click one row, then the other"},
                {"See what the next click on a row will do", "rest the pointer on the row"},
                {"Choose a reload or a swap by name", "right click a row"},
                {"Drop the item of the armed row (it is lost)", "Drop Item button"},
                {"Pick up what lies here or on a body", "choose in On the ground, Pick up item"}}) +
           group("Deployment", {{"Pick a soldier to place", "click his name in the list"},
                                {"Place him", "left click on a red and yellow start star"}}) +
           group("Without the mouse (Options &gt; Keyboard cursor)",
                 {{"Move the square cursor on the map (the view follows)", "arrow keys"},
                  {"Left click on the cursor's square", "Enter"},
                  {"Right click there: what a walk costs", "Shift+Enter"},
                  {"Go through the panel's buttons and lists", "Tab, Shift+Tab; Enter presses"},
                  {"Pick a row of the deployment list or of the equipment", "1 to 9"},
                  {"Change any key", "Options &gt; Settings... &gt; Keys (Ctrl+,)"}}) +
           group("View",
                 {{"Scroll the map", "scroll bars, mouse wheel (Shift: sideways), arrow keys, "
                                     "or rest the pointer on the window's edge"},
                  {"Jump to a place", "click the overhead map"},
                  {"Full screen", "F11"}}) +
           group("Turn and files",
                 {{"End your turn", "End turn button or 0"},
                  {"Take back a command", "Ctrl+Z (Edit &gt; Undo; not after a shot or a blow)"},
                  {"Do it again", "Ctrl+Shift+Z (Edit &gt; Redo)"},
                  {"Save the battle", "Ctrl+S (File &gt; Savegame)"},
                  {"Load a battle", "Ctrl+O (File &gt; Loadgame)"},
                  {"Leave the battle", "Ctrl+Q (File &gt; Quit)"},
                  {"These pages", "F1 (Help &gt; Controls, Help &gt; How to play)"}});
}

QString howToPlayPage() {
    return QStringLiteral(
        "<h2>How to play</h2>"
        "<h3>The turn</h3>"
        "<p>You command the Raiders; the computer commands the Operatives. In your turn every "
        "soldier spends his <b>action points</b> (AP, shown on the panel) as you choose. When "
        "you press <b>End turn</b> the Operatives move and fire, then a new turn begins and "
        "every soldier gets his points back: his base points, less fatigue, plus strength, "
        "less a fifth of what he carries. Points left unspent are lost.</p>"
        "<h3>What things cost</h3>"
        "<p>A step costs 2 AP straight and 3 AP on the diagonal. A shot costs what the panel "
        "shows beside the weapon: the <b>aimed</b> shot more, the <b>quick</b> shot less. A blow "
        "costs the melee weapon's quick-shot points. Reloading and swapping cost the weight of "
        "the item in the second row clicked, plus 2. Going on overwatch, picking up and "
        "dropping cost nothing. A treatment uses up the rest of the turn of both the healer and "
        "the wounded soldier.</p>"
        "<h3>Shooting</h3>"
        "<p>There is no roll to hit. The shooter's <b>Shoot</b> skill decides only whether his "
        "shot flies true: a shooter with Shoot 70 flies true seven times in ten, otherwise the "
        "shot strays up to 9 degrees to either side, most often by little. Then the shot flies "
        "across the map and hits the first thing in its way: a wall, an object, an enemy - or "
        "one of your own men. Aimed and quick shots fly alike; the aimed one costs more "
        "points. A soldier hit rolls his toughness: the damage may be halved or even come to "
        "nothing. Weak objects (bushes, crates) may break under fire, strong ones only under a "
        "heavy hit.</p>"
        "<h3>Overwatch and reaction fire</h3>"
        "<p>A soldier on <b>overwatch</b> keeps his points for the enemy's turn: when an enemy "
        "moves within his weapon's range and in his line of fire, he takes a quick shot at him. "
        "The Operatives do the same: a walk stops at the first step on which one of them "
        "fires, and when a walk ends, every Operative on overwatch who can see the soldier "
        "fires at him once more.</p>"
        "<h3>Close combat</h3>"
        "<p>With a melee weapon in hand, press the hand to hand button and click an enemy on "
        "one of the eight squares around your soldier. His <b>Attack</b> is his chance in a "
        "hundred to land the blow; the enemy then parries with five times his "
        "<b>Toughness</b> in a hundred. A blow that is not parried does the weapon's full "
        "damage.</p>"
        "<h3>Healing</h3>"
        "<p>Open <b>Equipment</b>, click the medikit's row once, then click the wounded soldier "
        "on the map. The kit restores the wounds it is made for, up to his maximum, and needs "
        "its weight plus 3 points; it is not used up.</p>"
        "<h3>Reloading and swapping</h3>"
        "<p>The first row of the equipment grid is the item in hand. Click a magazine's row and "
        "then the weapon's row to reload; a magazine that does not fit does nothing. Click any "
        "other two rows to swap their items: the item of the first row clicked goes to the "
        "second. Beware: a swap sets the weapon's shots to what the "
        "moved item holds, so swapping a weapon into the hand may leave it empty, and the "
        "points are checked before the swap but paid after it, so a swap may leave a soldier "
        "below zero points.</p>"
        "<h3>Winning</h3>"
        "<p>You win when no Operative is left standing, or when your men destroy Mardok, the "
        "Operatives' core (find it on the map: the briefing tells where it is). "
        "You lose when your last soldier falls. A decided battle closes with the next press "
        "of End turn. The battle is saved for you at the start of each of your turns.</p>");
}

HelpWindow::HelpWindow(HelpPage page, QWidget* parent) : QDialog(parent) {
    auto line = [this] { return fontMetrics().height(); };
    const bool controls = page == HelpPage::Controls;
    setObjectName(controls ? "HelpControls" : "HelpHowToPlay");
    setWindowTitle(controls ? QStringLiteral("Controls") : QStringLiteral("How to play"));
    auto* text = new QTextBrowser(this);
    text->setObjectName("HelpText");
    // Headings in the lights of the two scenarios, the gestures a shade
    // brighter than the actions, on the game's dark ground.
    text->document()->setDefaultStyleSheet(
        QStringLiteral("h2 { color: #ffd640; } h3 { color: #46dcff; } b { color: #ffffff; }"));
    text->document()->setDocumentMargin(line() / 2);
    text->setHtml(controls ? controlsPage() : howToPlayPage());
    text->setOpenLinks(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    // Sized in text lines, so that it reads the same at any scaling, and no
    // larger than the screen leaves room for.
    QSize size(line() * 46, line() * 40);
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

} // namespace korvath
