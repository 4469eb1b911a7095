#include "control/key_help.h"

#include <QStringList>

#include "app/app.h"

namespace vv {

QString keyboardHelpText()
{
    static const QStringList lines = {
        QStringLiteral("TASTATURBELEGUNG"),
        QString(),
        QStringLiteral("ESC = Videoauswahlliste ein/aus"),
        QStringLiteral("w = Navigationsanzeige ein/aus"),
        QStringLiteral("e = Interaktivitätsmenü ein/aus"),
        QString(),
        QStringLiteral("p / Pfeil links - zuvoriges Video aus Playliste"),
        QStringLiteral("n / Pfeil rechts - nächstes Video aus Playliste"),
        QString(),
        QStringLiteral("r = Play Video"),
        QStringLiteral("s = Stop Video"),
        QStringLiteral("f = Forward"),
        QStringLiteral("b = Rewind"),
        QString(),
        QStringLiteral("+ = Speed Up"),
        QStringLiteral("- = Speed Down"),
        QStringLiteral("i = Zoom In"),
        QStringLiteral("o = Zoom Out"),
        QString(),
        QStringLiteral("m = Sound (on / off)"),
        QStringLiteral("l = Bereichsmarkierung In/Out/Reset"),
    };
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1Char('\r');
    return text;
}

void SHOWkeyboardHELP(App& app)
{
    app.sv.messageBox(keyboardHelpText(), Services::Icon::None);
}

} // namespace vv
