/* Drops files onto an X window the way a file manager does, through X drag
 * and drop (XDND), so that a Wine program gets a real WM_DROPFILES made in
 * its own process.
 *
 *   xdnd_drop <target window id> <x> <y> <unix path>...
 *
 * x, y are relative to the target window. Exits 0 once the target reports the
 * drop finished; otherwise prints why on stderr and exits non-zero. */

#define _DEFAULT_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <errno.h>
#include <limits.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

enum { OUR_VERSION = 5, STEP_TIMEOUT_MS = 5000 };
enum { EXIT_USAGE = 1, EXIT_X = 2, EXIT_DROP = 3 };

static Display *dpy;
static Window source;
static Time drop_time;
static char *uri_list;
static size_t uri_list_size;
static int x_error;

static Atom XdndAware, XdndProxy, XdndSelection, XdndTypeList, XdndEnter, XdndPosition, XdndStatus,
    XdndLeave, XdndDrop, XdndFinished, XdndActionCopy, TARGETS, UriList, TextPlain;

/* What the target has told us so far. */
static struct {
  int status_seen, accepted, finished, finished_ok;
} reply;

static int on_x_error(Display *d, XErrorEvent *e) {
  char text[256];
  XGetErrorText(d, e->error_code, text, sizeof text);
  fprintf(stderr, "xdnd_drop: X error: %s (request %d)\n", text, e->request_code);
  x_error = 1;
  return 0;
}

static long monotonic_ms(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

static int parse_window(const char *text, Window *out) {
  char *end;
  errno = 0;
  unsigned long value = strtoul(text, &end, 0); /* decimal, or 0x hex */
  if (errno || end == text || *end || !value) return 0;
  *out = (Window)value;
  return 1;
}

static int parse_int(const char *text, int *out) {
  char *end;
  errno = 0;
  long value = strtol(text, &end, 10);
  if (errno || end == text || *end || value < INT_MIN || value > INT_MAX) return 0;
  *out = (int)value;
  return 1;
}

static void append(const char *bytes, size_t n) {
  char *grown = realloc(uri_list, uri_list_size + n + 1);
  if (!grown) {
    fprintf(stderr, "xdnd_drop: out of memory\n");
    exit(EXIT_USAGE);
  }
  uri_list = grown;
  memcpy(uri_list + uri_list_size, bytes, n);
  uri_list_size += n;
  uri_list[uri_list_size] = '\0';
}

static void append_encoded(const char *text) {
  static const char hex[] = "0123456789ABCDEF";
  for (const unsigned char *p = (const unsigned char *)text; *p; ++p) {
    unsigned char c = *p;
    int plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      append((const char *)p, 1);
    } else {
      char escaped[3] = {'%', hex[c >> 4], hex[c & 15]};
      append(escaped, 3);
    }
  }
}

/* file:///absolute/path, every byte other than unreserved ASCII and '/' percent-encoded. */
static void append_uri(const char *path) {
  append("file://", 7);
  if (path[0] != '/') {
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) {
      fprintf(stderr, "xdnd_drop: cannot make %s absolute\n", path);
      exit(EXIT_USAGE);
    }
    append_encoded(cwd);
    if (strcmp(cwd, "/") != 0) append("/", 1);
  }
  append_encoded(path);
  append("\r\n", 2);
}

static Atom atom(const char *name) { return XInternAtom(dpy, name, False); }

static void intern_atoms(void) {
  XdndAware = atom("XdndAware");
  XdndProxy = atom("XdndProxy");
  XdndSelection = atom("XdndSelection");
  XdndTypeList = atom("XdndTypeList");
  XdndEnter = atom("XdndEnter");
  XdndPosition = atom("XdndPosition");
  XdndStatus = atom("XdndStatus");
  XdndLeave = atom("XdndLeave");
  XdndDrop = atom("XdndDrop");
  XdndFinished = atom("XdndFinished");
  XdndActionCopy = atom("XdndActionCopy");
  TARGETS = atom("TARGETS");
  UriList = atom("text/uri-list");
  TextPlain = atom("text/plain");
}

/* The single window (or atom) value of a 32-bit property, or 0. */
static unsigned long property_value(Window w, Atom property, Atom type) {
  Atom actual;
  int format;
  unsigned long count, after;
  unsigned char *data = NULL;
  unsigned long value = 0;
  if (XGetWindowProperty(dpy, w, property, 0, 1, False, type, &actual, &format, &count, &after, &data) ==
          Success &&
      actual == type && format == 32 && count == 1)
    value = ((unsigned long *)data)[0];
  if (data) XFree(data);
  return value;
}

/* The window itself or its nearest ancestor that speaks XDND; 0 if none. */
static Window aware_window(Window w, int *version) {
  while (w) {
    Atom actual;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    int found = XGetWindowProperty(dpy, w, XdndAware, 0, 1, False, XA_ATOM, &actual, &format, &count,
                                   &after, &data) == Success &&
                actual == XA_ATOM && count == 1;
    if (found) *version = (int)((unsigned long *)data)[0];
    if (data) XFree(data);
    if (found) return w;

    Window root, parent, *children = NULL;
    unsigned int n;
    if (!XQueryTree(dpy, w, &root, &parent, &children, &n)) return 0;
    if (children) XFree(children);
    if (parent == root) return 0;
    w = parent;
  }
  return 0;
}

/* A server timestamp: the time of a property change on our own window. */
static Time server_time(void) {
  unsigned char nothing = 0;
  Atom stamp = atom("XDND_DROP_TIMESTAMP");
  XChangeProperty(dpy, source, stamp, XA_INTEGER, 8, PropModeAppend, &nothing, 0);
  XEvent e;
  XWindowEvent(dpy, source, PropertyChangeMask, &e);
  return e.xproperty.time;
}

static void serve_selection(const XSelectionRequestEvent *request) {
  XEvent answer;
  memset(&answer, 0, sizeof answer);
  answer.xselection.type = SelectionNotify;
  answer.xselection.display = request->display;
  answer.xselection.requestor = request->requestor;
  answer.xselection.selection = request->selection;
  answer.xselection.target = request->target;
  answer.xselection.time = request->time;
  /* Old clients leave the property None and expect the target's name used. */
  Atom property = request->property != None ? request->property : request->target;
  answer.xselection.property = None;

  if (request->selection == XdndSelection && request->owner == source) {
    if (request->target == UriList || request->target == TextPlain) {
      XChangeProperty(dpy, request->requestor, property, request->target, 8, PropModeReplace,
                      (unsigned char *)uri_list, (int)uri_list_size);
      answer.xselection.property = property;
    } else if (request->target == TARGETS) {
      Atom targets[] = {TARGETS, UriList, TextPlain};
      XChangeProperty(dpy, request->requestor, property, XA_ATOM, 32, PropModeReplace,
                      (unsigned char *)targets, 3);
      answer.xselection.property = property;
    }
  }
  XSendEvent(dpy, request->requestor, False, NoEventMask, &answer);
  XFlush(dpy);
}

static void handle(const XEvent *e, Window target) {
  if (e->type == SelectionRequest) {
    serve_selection(&e->xselectionrequest);
  } else if (e->type == ClientMessage && (Window)e->xclient.data.l[0] == target) {
    if (e->xclient.message_type == XdndStatus) {
      reply.status_seen = 1;
      reply.accepted = e->xclient.data.l[1] & 1;
    } else if (e->xclient.message_type == XdndFinished) {
      reply.finished = 1;
      reply.finished_ok = e->xclient.data.l[1] & 1;
    }
  }
}

/* Handles events until *flag is set or the step times out; returns *flag. */
static int wait_for(int *flag, Window target) {
  long deadline = monotonic_ms() + STEP_TIMEOUT_MS;
  XFlush(dpy);
  while (!*flag) {
    while (XPending(dpy) && !*flag) {
      XEvent e;
      XNextEvent(dpy, &e);
      handle(&e, target);
    }
    if (*flag) break;
    long left = deadline - monotonic_ms();
    if (left <= 0) break;
    struct pollfd fd = {ConnectionNumber(dpy), POLLIN, 0};
    poll(&fd, 1, (int)left);
  }
  return *flag;
}

static int send_message(Window to, Window target, Atom type, long l1, long l2, long l3, long l4) {
  XEvent e;
  memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.display = dpy;
  e.xclient.window = target;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)source;
  e.xclient.data.l[1] = l1;
  e.xclient.data.l[2] = l2;
  e.xclient.data.l[3] = l3;
  e.xclient.data.l[4] = l4;
  x_error = 0;
  XSendEvent(dpy, to, False, NoEventMask, &e);
  XSync(dpy, False);
  return !x_error;
}

static int fail(const char *why) {
  fprintf(stderr, "xdnd_drop: %s\n", why);
  return EXIT_DROP;
}

int main(int argc, char **argv) {
  Window given;
  int x, y;
  if (argc < 5 || !parse_window(argv[1], &given) || !parse_int(argv[2], &x) || !parse_int(argv[3], &y)) {
    fprintf(stderr, "usage: xdnd_drop <target X window id> <x> <y> <unix path>...\n");
    return EXIT_USAGE;
  }
  for (int i = 4; i < argc; ++i) {
    append_uri(argv[i]);
  }

  dpy = XOpenDisplay(NULL);
  if (!dpy) {
    fprintf(stderr, "xdnd_drop: cannot open display %s\n", XDisplayName(NULL));
    return EXIT_X;
  }
  XSetErrorHandler(on_x_error);
  intern_atoms();
  Window root = DefaultRootWindow(dpy);

  XWindowAttributes attributes;
  if (!XGetWindowAttributes(dpy, given, &attributes)) {
    fprintf(stderr, "xdnd_drop: no window 0x%lx\n", (unsigned long)given);
    return EXIT_X;
  }
  int root_x, root_y;
  Window child;
  XTranslateCoordinates(dpy, given, root, x, y, &root_x, &root_y, &child);

  int version = 0;
  Window target = aware_window(given, &version);
  if (!target) {
    fprintf(stderr, "xdnd_drop: window 0x%lx does not accept drops (no XdndAware)\n", (unsigned long)given);
    return EXIT_DROP;
  }
  if (version > OUR_VERSION) version = OUR_VERSION;
  /* A proxy gets the messages, which still name the real target. */
  Window to = target;
  Window proxy = property_value(target, XdndProxy, XA_WINDOW);
  if (proxy && property_value(proxy, XdndProxy, XA_WINDOW) == proxy) to = proxy;

  XSetWindowAttributes set = {.override_redirect = True, .event_mask = PropertyChangeMask};
  source = XCreateWindow(dpy, root, -10, -10, 1, 1, 0, CopyFromParent, InputOutput, CopyFromParent,
                         CWOverrideRedirect | CWEventMask, &set);
  Atom types[] = {UriList, TextPlain};
  XChangeProperty(dpy, source, XdndTypeList, XA_ATOM, 32, PropModeReplace, (unsigned char *)types, 2);

  drop_time = server_time();
  XSetSelectionOwner(dpy, XdndSelection, source, drop_time);
  if (XGetSelectionOwner(dpy, XdndSelection) != source) return fail("cannot own XdndSelection");

  if (!send_message(to, target, XdndEnter, (long)version << 24, (long)UriList, (long)TextPlain, None))
    return fail("XdndEnter could not be sent");
  if (!send_message(to, target, XdndPosition, 0, ((long)root_x << 16) | (root_y & 0xFFFF), (long)drop_time,
                    (long)XdndActionCopy))
    return fail("XdndPosition could not be sent");
  if (!wait_for(&reply.status_seen, target)) return fail("no XdndStatus from the target within 5 s");
  if (!reply.accepted) {
    send_message(to, target, XdndLeave, 0, 0, 0, 0);
    return fail("the target refused the drop at that place");
  }

  if (!send_message(to, target, XdndDrop, 0, (long)drop_time, 0, 0))
    return fail("XdndDrop could not be sent");
  if (!wait_for(&reply.finished, target)) return fail("no XdndFinished from the target within 5 s");
  if (version >= 5 && !reply.finished_ok) return fail("the target reports the drop failed");

  XDestroyWindow(dpy, source);
  XCloseDisplay(dpy);
  return 0;
}
