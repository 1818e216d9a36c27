// A second process for the window lookup tests: creates a hidden top-level window with the
// caption given as its argument, says "ready", then obeys "caption TEXT" and "exit" on its input.
// Killed, it leaves its window file behind.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/text.h"
#include "platform/ui/window.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    kw::ui::CWnd window;
    if (!window.Create(kw::FromUtf8(argv[1]), kw::ui::Rect{0, 0, 10, 10}, false)) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
        std::string command(line, strcspn(line, "\n"));
        if (command.rfind("caption ", 0) == 0) {
            window.SetCaption(kw::FromUtf8(command.substr(8)));
            std::printf("done\n");
            std::fflush(stdout);
        } else if (command == "exit") {
            break;
        }
    }
    window.Destroy();
    return 0;
}
