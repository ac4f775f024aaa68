#include "panel/window/KeyHelp.h"

#include "KeyAssignment.h"
#include "panel/KeyLayout.h"
#include "panel/KeyMap.h"
#include "panel/window/WindowActions.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int HelpColumns = 3;

// How a character of code page 1251 is named in the help.
QString CharacterName(uint8_t c) {
    if (c == ' ') return QStringLiteral("space bar");
    return QString(QChar(char16_t(UnicodeFromCp1251(c))));
}

// The keys that typing a character presses: by the map where it names
// one, else by the key tables.
std::vector<int> KeysTyping(char32_t c, const std::optional<KeyMap>& map) {
    if (map) {
        const std::vector<int> keys = KeysByMap(c, *map);
        if (!keys.empty()) return keys;
    }
    if (const int key = KeyOfCharacter(Cp1251FromUnicode(c))) return {key};
    return {};
}

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

// The PC keys of a machine key, the Russian letters in the colour the face
// prints them in.
QString PcKeysHtml(const QStringList& pcKeys) {
    QStringList html;
    for (const QString& pcKey : pcKeys) {
        const bool russian = pcKey.size() == 1 && pcKey[0].script() == QChar::Script_Cyrillic;
        html << (russian ? QStringLiteral("<font color=#b86e00>%1</font>") : QStringLiteral("%1")).arg(Escaped(pcKey));
    }
    return html.join(QStringLiteral(", "));
}

}  // namespace

std::vector<ProgramKeyHelp> ProgramKeysHelp() {
    std::vector<ProgramKeyHelp> help;
    for (const WindowActionEntry& entry : WindowActions)
        help.push_back({QKeySequence(QString::fromLatin1(entry.keys)).toString(QKeySequence::NativeText),
                        QString::fromUtf8(entry.does)});
    help.push_back({QStringLiteral("Ctrl, held alone"), QStringLiteral("labels each key of the face with the PC keys that reach it")});
    help.push_back({QStringLiteral("a right click"), QStringLiteral("off the keys shows the menu of these actions")});
    help.push_back({QStringLiteral("the switch key (ON/OFF)"),
                    QStringLiteral("releasing the mouse on it saves the RAM and closes the emulator")});
    help.push_back({QStringLiteral("dragging the face"),
                    QStringLiteral("outside the keys moves the window; a click on a key holds it until the button is let go")});
    help.push_back({QStringLiteral("dropping a file"),
                    QStringLiteral("on the window loads a snapshot file, or types a text file on the machine as the paste does")});
    return help;
}

std::vector<MachineKeyHelp> MachineKeysHelp() {
    const std::optional<KeyMap> map = KeyMapOfRom();
    std::vector<MachineKeyHelp> help;
    for (int key = SwitchKey + 1; key <= LastKey; ++key) {
        MachineKeyHelp line{key, QString::fromUtf8(KeyAssignments[key].face),
                            QString::fromUtf8(KeyAssignments[key].shiftFace), {}, {}};
        for (const SpecialKey& special : SpecialKeys)
            if (special.key == key) line.pcKeys << QString::fromLatin1(special.name);
        // Upper case only: a letter reaches the same key in either case.
        const auto add = [&](char32_t c, const QString& name) {
            const std::vector<int> keys = KeysTyping(c, map);
            if (keys == std::vector<int>{key}) line.pcKeys << name;
            if (map && keys == std::vector<int>{map->shiftKey, key}) line.shiftedPcKeys << name;
        };
        for (int c = 0x20; c <= 0xFF; ++c)
            if (UpperKey(uint8_t(c)) == c && UnicodeFromCp1251(uint8_t(c)) != U'\uFFFD')
                add(UnicodeFromCp1251(uint8_t(c)), CharacterName(uint8_t(c)));
        add(U'\b', QStringLiteral("Backspace"));
        help.push_back(line);
    }
    return help;
}

namespace {

// The two lists as rich text, the machine keys in columns.
QString HelpText() {
    const std::vector<MachineKeyHelp> keys = MachineKeysHelp();
    const size_t perColumn = (keys.size() + HelpColumns - 1) / HelpColumns;
    QString html = QStringLiteral(
        "<h3>The machine's keys</h3>"
        "<p>Each key of the face, and the PC keys that reach it: a letter in either case, in the Latin or<br>"
        "the Russian layout. A click on the face works too; F8 reaches a key the face does not show.<br>"
        "<font color=#e07a36>In colour</font>: what a key gives after the shift key, and the PC keys that "
        "type it so.</p>"
        "<table cellspacing=0><tr>");
    for (size_t first = 0; first < keys.size(); first += perColumn) {
        html += QStringLiteral("<td valign=top width=200><table cellspacing=2>");
        for (size_t i = first; i < std::min(keys.size(), first + perColumn); ++i) {
            const QString label = keys[i].label.isEmpty() ? QStringLiteral("\u2014") : keys[i].label;
            QString second;
            if (!keys[i].secondLabel.isEmpty())
                second = QStringLiteral(" <font color=#e07a36>%1</font>").arg(Escaped(keys[i].secondLabel));
            QString pcKeys = PcKeysHtml(keys[i].pcKeys);
            if (!keys[i].shiftedPcKeys.isEmpty())
                pcKeys += QStringLiteral("; <font color=#e07a36>%1</font>").arg(Escaped(keys[i].shiftedPcKeys.join(", ")));
            html += QStringLiteral("<tr><td align=center><b>%1</b>%2</td><td>&nbsp;%3</td></tr>")
                        .arg(Escaped(label), second, pcKeys);
        }
        html += QStringLiteral("</table></td>");
    }
    html += QStringLiteral("</tr></table><h3>The emulator's own keys</h3><table cellspacing=2>");
    for (const ProgramKeyHelp& line : ProgramKeysHelp())
        html += QStringLiteral("<tr><td><b>%1</b>&nbsp;&nbsp;</td><td>%2</td></tr>")
                    .arg(Escaped(line.keys), Escaped(line.does));
    return html + QStringLiteral("</table>");
}

}  // namespace

TKeyHelpForm::TKeyHelpForm(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setWindowTitle(QStringLiteral("Keys"));
    text_ = new QLabel;
    text_->setTextFormat(Qt::RichText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    // As large as the list, whenever the list changes.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ListKeys();
}

void TKeyHelpForm::ListKeys() { text_->setText(HelpText()); }

void TKeyHelpForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 || event->key() == Qt::Key_Escape) close();
    else QWidget::keyPressEvent(event);
}
