// Drops files on a window the way a file manager does, through the X drag
// and drop protocol (XDND, version 5): enter, position, drop, and the file
// list handed over as text/uri-list when the target asks for it.
//   xdnd_drop WINDOW X Y FILE...   (X, Y in root coordinates)
// Exit 0 when the target accepted and finished the drop.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cctype>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

Display* d;
Window source;
Atom aware, enter, position, status, drop, finished, selection, actionCopy, uriList;

void Send(Window target, Atom type, long l0, long l1, long l2, long l3, long l4) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.display = d;
    e.xclient.window = target;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = l0;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(d, target, False, NoEventMask, &e);
    XFlush(d);
}

// Percent-encodes a path into a file URI.
std::string FileUri(const char* path) {
    std::string uri = "file://";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path); *p; ++p) {
        if (std::isalnum(*p) || std::strchr("/-._~", *p)) {
            uri += static_cast<char>(*p);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", *p);
            uri += buf;
        }
    }
    return uri;
}

// Waits for an event that pred accepts, answering selection requests meanwhile.
template <typename Pred>
bool WaitFor(Pred pred, const std::string& data, int seconds = 10) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == SelectionRequest) {
                const XSelectionRequestEvent& r = e.xselectionrequest;
                XEvent reply{};
                reply.xselection.type = SelectionNotify;
                reply.xselection.requestor = r.requestor;
                reply.xselection.selection = r.selection;
                reply.xselection.target = r.target;
                reply.xselection.time = r.time;
                reply.xselection.property = None;
                if (r.target == uriList) {
                    XChangeProperty(d, r.requestor, r.property, uriList, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
                    reply.xselection.property = r.property;
                }
                XSendEvent(d, r.requestor, False, NoEventMask, &reply);
                XFlush(d);
            } else if (pred(e)) {
                return true;
            }
        }
        struct timespec pause{0, 5'000'000};
        nanosleep(&pause, nullptr);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    d = XOpenDisplay(nullptr);
    if (!d) return 2;
    const Window target = std::strtoul(argv[1], nullptr, 0);
    const long x = std::atol(argv[2]), y = std::atol(argv[3]);
    std::string data;
    for (int i = 4; i < argc; ++i) data += FileUri(argv[i]) + "\r\n";

    aware = XInternAtom(d, "XdndAware", False);
    enter = XInternAtom(d, "XdndEnter", False);
    position = XInternAtom(d, "XdndPosition", False);
    status = XInternAtom(d, "XdndStatus", False);
    drop = XInternAtom(d, "XdndDrop", False);
    finished = XInternAtom(d, "XdndFinished", False);
    selection = XInternAtom(d, "XdndSelection", False);
    actionCopy = XInternAtom(d, "XdndActionCopy", False);
    uriList = XInternAtom(d, "text/uri-list", False);

    source = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(d, selection, source, CurrentTime);

    Atom type;
    int format;
    unsigned long items, after;
    unsigned char* version = nullptr;
    if (XGetWindowProperty(d, target, aware, 0, 1, False, AnyPropertyType, &type, &format, &items, &after,
                           &version) != Success || !version) {
        std::fprintf(stderr, "the window takes no drops\n");
        return 1;
    }
    XFree(version);

    Send(target, enter, static_cast<long>(source), 5L << 24, static_cast<long>(uriList), 0, 0);
    Send(target, position, static_cast<long>(source), 0, (x << 16) | y, CurrentTime, static_cast<long>(actionCopy));
    bool accepted = false;
    if (!WaitFor([&](const XEvent& e) {
            if (e.type != ClientMessage || e.xclient.message_type != status) return false;
            accepted = e.xclient.data.l[1] & 1;
            return true;
        }, data) || !accepted) {
        std::fprintf(stderr, "the drop was not accepted\n");
        return 1;
    }
    Send(target, drop, static_cast<long>(source), 0, CurrentTime, 0, 0);
    const bool done = WaitFor([&](const XEvent& e) {
        return e.type == ClientMessage && e.xclient.message_type == finished;
    }, data, 30);
    XCloseDisplay(d);
    return done ? 0 : 1;
}
