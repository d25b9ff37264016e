/* Small X11 helper for the window tests.
     kv_window_close <window id>   asks a window to close the way a window manager's close
                                   button does: a WM_DELETE_WINDOW client message.
     kv_window_close --intern      creates the atoms a window manager would have created.
   JUCE only looks atoms up (it never creates them), so on a bare Xvfb display without a
   window manager it would not understand WM_DELETE_WINDOW at all. Xvfb runs with -noreset
   so the atoms outlive this program. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char* const atomNames[] = {
    "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "WM_CHANGE_STATE", "WM_STATE",
    "_NET_WM_PING", "_NET_WM_USER_TIME", "_NET_ACTIVE_WINDOW", "_NET_WM_PID", "_NET_WM_NAME",
    "_NET_WM_ICON", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN", "_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_SKIP_TASKBAR",
    "_NET_FRAME_EXTENTS", "_NET_REQUEST_FRAME_EXTENTS", "_MOTIF_WM_HINTS", "UTF8_STRING",
    "_NET_SUPPORTED", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP", "_XEMBED", "_XEMBED_INFO",
};

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        fprintf (stderr, "usage: %s <window id> | --intern\n", argv[0]);
        return 2;
    }

    Display* display = XOpenDisplay (NULL);
    if (display == NULL)
    {
        fprintf (stderr, "cannot open display\n");
        return 1;
    }

    if (strcmp (argv[1], "--intern") == 0)
    {
        for (size_t i = 0; i < sizeof (atomNames) / sizeof (atomNames[0]); ++i)
            XInternAtom (display, atomNames[i], False);

        XSync (display, False);
        XCloseDisplay (display);
        return 0;
    }

    XEvent event;
    memset (&event, 0, sizeof (event));
    event.xclient.type = ClientMessage;
    event.xclient.window = (Window) strtoul (argv[1], NULL, 0);
    event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long) XInternAtom (display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;

    XSendEvent (display, event.xclient.window, False, NoEventMask, &event);
    XFlush (display);
    XCloseDisplay (display);
    return 0;
}
