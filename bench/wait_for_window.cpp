// Times a program's start-up on an X display to the millisecond: starts the program, waits for
// its window with the given title to be mapped and then for the window's first paint, prints
//   <ms to the window mapped> <ms to its first paint>
// counted from just before the program was started, and ends the program (SIGTERM, then waits
// for it). The display's screen must be black where the window appears (Xvfb -br): the first
// paint is seen as the window's top rows, where the menu bar lies, no longer being black.
//   wait_for_window TITLE PROGRAM [ARGUMENTS...]
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kGiveUpAfter = std::chrono::seconds(30);
// How often the window's pixels are looked at once it is mapped.
constexpr auto kPaintPoll = std::chrono::microseconds(500);
// The rows looked at: inside the menu bar, below any frame line it may have.
constexpr int kFirstRow = 3;
constexpr int kRows = 4;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
  Reply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::strlen(name), name), nullptr),
      &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string Property(xcb_connection_t* x, xcb_window_t window, xcb_atom_t property) {
  Reply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(
          x, xcb_get_property(x, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr),
      &std::free);
  if (!reply) return {};
  return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                     xcb_get_property_value_length(reply.get()));
}

// Whether the window's title (either of the two title properties) is the one looked for.
bool HasTitle(xcb_connection_t* x, xcb_window_t window, const std::string& title,
              xcb_atom_t net_wm_name) {
  return Property(x, window, net_wm_name) == title ||
         Property(x, window, XCB_ATOM_WM_NAME) == title;
}

// Whether anything has been drawn in the window's top rows: some pixel there is not black.
// Nullopt while the pixels can't be read (a window not yet viewable).
std::optional<bool> Painted(xcb_connection_t* x, xcb_window_t window) {
  Reply<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr), &std::free);
  if (!geometry || geometry->height < kFirstRow + kRows) return std::nullopt;
  // Only the 24 colour bits: the padding byte of a 32-bit pixel says nothing.
  Reply<xcb_get_image_reply_t> image(
      xcb_get_image_reply(x,
                          xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, kFirstRow,
                                        geometry->width, kRows, 0x00ffffff),
                          nullptr),
      &std::free);
  if (!image) return std::nullopt;
  const uint8_t* data = xcb_get_image_data(image.get());
  const int length = xcb_get_image_data_length(image.get());
  for (int i = 0; i < length; ++i) {
    if (data[i] != 0) return true;
  }
  return false;
}

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s TITLE PROGRAM [ARGUMENTS...]\n", argv[0]);
    return 2;
  }
  const std::string title = argv[1];
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x) != 0) {
    std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const xcb_atom_t net_wm_name = Atom(x, "_NET_WM_NAME");
  // Every top-level window mapped from now on is heard of; the round trip makes sure the server
  // has taken the request before the program starts.
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
  std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));

  const Clock::time_point start = Clock::now();
  const pid_t program = fork();
  if (program == 0) {
    execvp(argv[2], argv + 2);
    std::perror(argv[2]);
    _exit(127);
  }
  if (program < 0) {
    std::perror("fork");
    return 1;
  }

  std::optional<Clock::time_point> mapped, painted;
  xcb_window_t window = XCB_WINDOW_NONE;
  pollfd display{xcb_get_file_descriptor(x), POLLIN, 0};
  while (!painted && Clock::now() - start < kGiveUpAfter) {
    if (!mapped) {
      poll(&display, 1, 1);
      while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
        const Clock::time_point at = Clock::now();
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && !mapped) {
          const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
          if (HasTitle(x, map->window, title, net_wm_name)) {
            mapped = at;
            window = map->window;
          }
        }
        std::free(event);
      }
      if (xcb_connection_has_error(x) != 0) break;
      int status = 0;
      if (waitpid(program, &status, WNOHANG) == program) {
        std::fprintf(stderr, "%s: %s ended before its window was shown\n", argv[0], argv[2]);
        return 1;
      }
      continue;
    }
    if (Painted(x, window).value_or(false)) {
      painted = Clock::now();
      break;
    }
    std::this_thread::sleep_for(kPaintPoll);
  }
  kill(program, SIGTERM);
  waitpid(program, nullptr, 0);
  xcb_disconnect(x);
  if (!painted) {
    std::fprintf(stderr, "%s: no window \"%s\" was %s in time\n", argv[0], title.c_str(),
                 mapped ? "painted" : "shown");
    return 1;
  }
  std::printf("%.1f %.1f\n", Milliseconds(*mapped - start), Milliseconds(*painted - start));
  return 0;
}
