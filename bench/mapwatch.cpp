// mapwatch <title> <program> [args...]: starts the program and reports, as "<ms> <KiB>", the time from
// its start until the X server maps a window titled <title>, and the program's peak resident memory.
// The program is ended with SIGTERM one second after the window appears. The map is seen as an event
// from the server, so the measurement takes no processor time from the program while it starts.
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

xcb_atom_t netWmName(xcb_connection_t *connection)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, 12, "_NET_WM_NAME"), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_NONE);
    std::free(reply);
    return atom;
}

std::string windowTitle(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netName)
{
    const xcb_atom_t names[] = {netName, XCB_ATOM_WM_NAME};
    for (xcb_atom_t name : names) {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
        if (!reply)
            continue;
        const std::string title(static_cast<const char *>(xcb_get_property_value(reply)),
                                size_t(xcb_get_property_value_length(reply)));
        std::free(reply);
        if (!title.empty())
            return title;
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mapwatch <title> <program> [args...]\n");
        return 2;
    }
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "mapwatch: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    // A round trip before the start: the server has then taken the event mask, and no look-up of the
    // title's name falls into the time measured.
    const xcb_atom_t netName = netWmName(connection);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    long long shownMs = -1;
    int status = 0;
    rusage usage{};
    bool ended = false;
    pollfd x{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (shownMs < 0 && !ended) {
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            if (xcb_connection_has_error(connection))
                break;
            ended = wait4(child, &status, WNOHANG, &usage) == child;
            if (!ended)
                poll(&x, 1, 100);
            continue;
        }
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        const xcb_window_t window = mapped ? reinterpret_cast<xcb_map_notify_event_t *>(event)->window : 0;
        std::free(event);
        if (mapped && windowTitle(connection, window, netName) == argv[1])
            shownMs =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    }
    xcb_disconnect(connection);
    if (shownMs < 0) {
        if (!ended) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
        }
        std::fprintf(stderr, "mapwatch: %s ended before showing its window (%s %d)\n", argv[2],
                     WIFSIGNALED(status) ? "signal" : "exit code",
                     WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1)); // let it settle before reading its peak
    kill(child, SIGTERM);
    wait4(child, &status, 0, &usage);
    std::printf("%lld %ld\n", shownMs, usage.ru_maxrss);
    return 0;
}
