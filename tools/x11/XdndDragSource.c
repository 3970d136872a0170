/* XdndDragSource: drags files onto the X window at a point of the screen and drops them there, speaking the source
 * side of the XDND protocol, as a file manager does. The end-to-end check uses it to drop files onto a window
 * under Wine, which turns the drop into an OLE drop on the window below the point. Built on the host by the
 * check itself; never shipped.
 *
 *   XdndDragSource [--type TYPE] [--timeout SECONDS] X Y FILE...
 *
 * FILE is a local path, offered as a file: URI in text/uri-list (one per line, CR LF ended). With --type another
 * type is offered instead, and the FILE arguments are its data, joined by CR LF; a target that takes only file
 * drops should refuse it. The pointer moves to X Y in a few steps (each one an XdndPosition), and the drop happens
 * only when the target accepts.
 *
 * Prints lines: "target WINDOW VERSION", "status accepted|refused", "finished accepted|refused".
 * Exit status: 0 dropped and finished, 1 the target refused the drop, 2 an error or a timeout. */

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

enum { kOurVersion = 5, kSteps = 5 };

static Display* display;
static Window source;
static Atom xdndAware, xdndProxy, xdndEnter, xdndPosition, xdndStatus, xdndLeave, xdndDrop, xdndFinished, xdndSelection,
    xdndActionCopy, targets, offeredType;
static char* data;
static size_t dataLength;
static double deadline;

static double Now(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

static void Append(const char* text, size_t length) {
    data = realloc(data, dataLength + length + 1);
    if (data == NULL) {
        fprintf(stderr, "XdndDragSource: out of memory\n");
        exit(2);
    }
    memcpy(data + dataLength, text, length);
    dataLength += length;
    data[dataLength] = '\0';
}

/* file:// followed by the path, every byte outside the unreserved characters and "/" written as %XX. */
static void AppendFileUri(const char* path) {
    static const char hex[] = "0123456789ABCDEF";
    Append("file://", 7);
    for (const unsigned char* p = (const unsigned char*)path; *p != '\0'; ++p) {
        if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') || strchr("-._~/", *p)) {
            Append((const char*)p, 1);
        } else {
            const char escaped[3] = {'%', hex[*p >> 4], hex[*p & 15]};
            Append(escaped, 3);
        }
    }
}

static long PropertyValue(Window window, Atom property) {
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* value = NULL;
    long result = -1;
    if (XGetWindowProperty(display, window, property, 0, 1, False, AnyPropertyType, &type, &format, &count, &remaining,
                           &value) == Success &&
        value != NULL && count == 1 && format == 32) {
        result = (long)*(unsigned long*)value;
    }
    if (value != NULL) {
        XFree(value);
    }
    return result;
}

/* The window that takes drops at a point: the first window on the way down from the root that says it is
 * XDND aware. */
static Window FindTarget(int x, int y) {
    const Window root = DefaultRootWindow(display);
    Window window = root;
    for (;;) {
        int childX, childY;
        Window child = None;
        if (!XTranslateCoordinates(display, root, window, x, y, &childX, &childY, &child) || child == None) {
            return None;
        }
        if (PropertyValue(child, xdndAware) >= 0) {
            return child;
        }
        window = child;
    }
}

static void Send(Window target, Window deliverTo, Atom type, long l1, long l2, long l3, long l4) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)source;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, deliverTo, False, NoEventMask, &event);
    XFlush(display);
}

static void AnswerSelectionRequest(const XSelectionRequestEvent* request) {
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = request->display;
    reply.xselection.requestor = request->requestor;
    reply.xselection.selection = request->selection;
    reply.xselection.target = request->target;
    reply.xselection.time = request->time;
    /* Clients older than ICCCM 2 ask with no property: the answer then goes into the property named by the type. */
    const Atom property = request->property != None ? request->property : request->target;
    reply.xselection.property = None;
    if (request->selection == xdndSelection && request->target == offeredType) {
        XChangeProperty(display, request->requestor, property, offeredType, 8, PropModeReplace,
                        (const unsigned char*)data, (int)dataLength);
        reply.xselection.property = property;
    } else if (request->selection == xdndSelection && request->target == targets) {
        const Atom offered[2] = {targets, offeredType};
        XChangeProperty(display, request->requestor, property, XA_ATOM, 32, PropModeReplace,
                        (const unsigned char*)offered, 2);
        reply.xselection.property = property;
    }
    XSendEvent(display, request->requestor, False, NoEventMask, &reply);
    XFlush(display);
}

/* Waits for the target's next message of one type, answering its requests for the data meanwhile. */
static int WaitFor(Atom type, XClientMessageEvent* result) {
    const int connection = ConnectionNumber(display);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == SelectionRequest) {
                AnswerSelectionRequest(&event.xselectionrequest);
            } else if (event.type == ClientMessage && event.xclient.message_type == type) {
                *result = event.xclient;
                return 1;
            }
        }
        const double left = deadline - Now();
        if (left <= 0) {
            return 0;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(connection, &readable);
        struct timeval wait = {(time_t)left, (suseconds_t)((left - (double)(time_t)left) * 1e6)};
        select(connection + 1, &readable, NULL, NULL, &wait);
    }
}

/* A server time stamp for the selection and the drop: the time of a property change on our own window. */
static Time ServerTime(void) {
    XEvent event;
    XChangeProperty(display, source, XA_WM_NAME, XA_STRING, 8, PropModeAppend, (const unsigned char*)"", 0);
    XWindowEvent(display, source, PropertyChangeMask, &event);
    return event.xproperty.time;
}

static int Usage(void) {
    fprintf(stderr, "usage: XdndDragSource [--type TYPE] [--timeout SECONDS] X Y FILE...\n");
    return 2;
}

int main(int argc, char** argv) {
    const char* typeName = "text/uri-list";
    double timeout = 10;
    int i = 1;
    for (; i + 1 < argc && strncmp(argv[i], "--", 2) == 0; i += 2) {
        if (strcmp(argv[i], "--type") == 0) {
            typeName = argv[i + 1];
        } else if (strcmp(argv[i], "--timeout") == 0) {
            timeout = atof(argv[i + 1]);
        } else {
            return Usage();
        }
    }
    if (argc - i < 3) {
        return Usage();
    }
    const int x = atoi(argv[i]);
    const int y = atoi(argv[i + 1]);
    const int isUriList = strcmp(typeName, "text/uri-list") == 0;
    for (int file = i + 2; file < argc; ++file) {
        if (isUriList) {
            AppendFileUri(argv[file]);
        } else {
            Append(argv[file], strlen(argv[file]));
        }
        Append("\r\n", 2);
    }

    display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "XdndDragSource: cannot open the display\n");
        return 2;
    }
    xdndAware = XInternAtom(display, "XdndAware", False);
    xdndProxy = XInternAtom(display, "XdndProxy", False);
    xdndEnter = XInternAtom(display, "XdndEnter", False);
    xdndPosition = XInternAtom(display, "XdndPosition", False);
    xdndStatus = XInternAtom(display, "XdndStatus", False);
    xdndLeave = XInternAtom(display, "XdndLeave", False);
    xdndDrop = XInternAtom(display, "XdndDrop", False);
    xdndFinished = XInternAtom(display, "XdndFinished", False);
    xdndSelection = XInternAtom(display, "XdndSelection", False);
    xdndActionCopy = XInternAtom(display, "XdndActionCopy", False);
    targets = XInternAtom(display, "TARGETS", False);
    offeredType = XInternAtom(display, typeName, False);
    deadline = Now() + timeout;

    const Window root = DefaultRootWindow(display);
    XSetWindowAttributes attributes;
    attributes.event_mask = PropertyChangeMask;
    source = XCreateWindow(display, root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent, CWEventMask,
                           &attributes);
    const Time start = ServerTime();
    XSetSelectionOwner(display, xdndSelection, source, start);
    if (XGetSelectionOwner(display, xdndSelection) != source) {
        fprintf(stderr, "XdndDragSource: cannot own the drag selection\n");
        return 2;
    }

    const Window target = FindTarget(x, y);
    if (target == None) {
        fprintf(stderr, "XdndDragSource: no window at %d %d takes drops\n", x, y);
        return 2;
    }
    /* A proxy window receives the messages, which still name the target. */
    const long proxy = PropertyValue(target, xdndProxy);
    const Window deliverTo = proxy > 0 ? (Window)proxy : target;
    const long theirVersion = PropertyValue(target, xdndAware);
    const long version = theirVersion < kOurVersion ? theirVersion : kOurVersion;
    printf("target 0x%lx %ld\n", (unsigned long)target, version);
    fflush(stdout);

    Send(target, deliverTo, xdndEnter, version << 24, (long)offeredType, None, None);
    /* The pointer travels to the point as a hand would, a position message at every step, each answered. */
    int fromX, fromY, winX, winY;
    unsigned int mask;
    Window rootReturn, childReturn;
    XQueryPointer(display, root, &rootReturn, &childReturn, &fromX, &fromY, &winX, &winY, &mask);
    XClientMessageEvent status;
    memset(&status, 0, sizeof status);
    for (int step = 1; step <= kSteps; ++step) {
        const int atX = fromX + (x - fromX) * step / kSteps;
        const int atY = fromY + (y - fromY) * step / kSteps;
        if (FindTarget(atX, atY) != target && step < kSteps) {
            continue;  // still outside the target: only the target hears about the drag
        }
        XWarpPointer(display, None, root, 0, 0, 0, 0, atX, atY);
        Send(target, deliverTo, xdndPosition, 0, ((long)atX << 16) | (atY & 0xFFFF), (long)ServerTime(),
             (long)xdndActionCopy);
        if (!WaitFor(xdndStatus, &status)) {
            fprintf(stderr, "XdndDragSource: the target did not answer the drag in time\n");
            return 2;
        }
    }
    const int accepted = (status.data.l[1] & 1) != 0;
    printf("status %s\n", accepted ? "accepted" : "refused");
    fflush(stdout);
    if (!accepted) {
        Send(target, deliverTo, xdndLeave, 0, 0, 0, 0);
        return 1;
    }

    Send(target, deliverTo, xdndDrop, 0, (long)ServerTime(), 0, 0);
    XClientMessageEvent finished;
    if (!WaitFor(xdndFinished, &finished)) {
        fprintf(stderr, "XdndDragSource: the target did not finish the drop in time\n");
        return 2;
    }
    /* Before version 5 the finish message carries no result: a finished drop was taken. */
    const int taken = version < 5 || (finished.data.l[1] & 1) != 0;
    printf("finished %s\n", taken ? "accepted" : "refused");
    XCloseDisplay(display);
    return taken ? 0 : 1;
}
