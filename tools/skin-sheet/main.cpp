// panoptix-skin-sheet: writes a contact sheet of every skin picture with its id under it, or
// lists the pictures (--list), renders a mock of the panel (--mock), or writes one picture by
// its id (--picture; the package's application icon is drawn this way at build time).
#include "contact_sheet.h"
#include "resources/skin.h"

#include <QApplication>
#include <QImage>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: panoptix-skin-sheet OUT.png\n"
                 "       panoptix-skin-sheet --list\n"
                 "       panoptix-skin-sheet --mock OUT.png\n"
                 "       panoptix-skin-sheet --picture ID OUT.png\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 1 && args[0] == "--list") {
        std::fputs(panoptix::skin::ResourceListing().toUtf8().constData(), stdout);
        return 0;
    }
    if (args.size() == 2 && args[0] == "--mock") {
        if (!panoptix::skin::RenderMockPanel().save(args[1], "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
            return 1;
        }
        return 0;
    }
    if (args.size() == 3 && args[0] == "--picture") {
        bool is_number = false;
        const int resource_id = args[1].toInt(&is_number);
        const QImage picture = is_number ? panoptix::skin::RenderResource(resource_id) : QImage();
        if (picture.isNull()) {
            std::fprintf(stderr, "no picture with id %s\n", qPrintable(args[1]));
            return 1;
        }
        if (!picture.save(args[2], "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(args[2]));
            return 1;
        }
        return 0;
    }
    if (args.size() != 1 || args[0].startsWith("--")) {
        return Usage();
    }
    if (!panoptix::skin::BuildContactSheet().image.save(args[0], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[0]));
        return 1;
    }
    return 0;
}
