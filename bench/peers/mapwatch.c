/* Starts one program on the X display and reports when its first big window was mapped and how
 * much memory its process tree holds a while later.
 *
 *   mapwatch MIN_WIDTH MIN_HEIGHT SETTLE_MS -- program [args...]
 *
 * prints one line:  map_ms=F width=W height=H pss_kib=N rss_kib=N procs=N
 *
 * map_ms counts from just before the fork to the MapNotify of the first window at least
 * MIN_WIDTH x MIN_HEIGHT (-1 when none came within SETTLE_MS). Run it without a window manager:
 * top-level windows are then the root's own children and their mapping is seen directly. At
 * SETTLE_MS after the start the memory of every process descended from the program, or still in
 * its process group, is summed (proportional and resident set sizes from smaps_rollup), then the
 * whole tree is ended. */
#define _GNU_SOURCE
#include <X11/Xlib.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#define MAX_PROCS 32768

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

/* A window may be gone by the time its attributes are asked for. */
static int ignore_x_error(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

static int parent_of(int pid, int* pgrp) {
    char path[64], buf[512];
    snprintf(path, sizeof path, "/proc/%d/stat", pid);
    FILE* f = fopen(path, "r");
    if (!f)
        return -1;
    size_t n = fread(buf, 1, sizeof buf - 1, f);
    fclose(f);
    buf[n] = 0;
    /* The command name in parentheses may hold spaces: parse after its closing one. */
    char* p = strrchr(buf, ')');
    int ppid = -1;
    if (!p || sscanf(p + 2, "%*c %d %d", &ppid, pgrp) != 2)
        return -1;
    return ppid;
}

static void add_rollup(int pid, long* pss, long* rss) {
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/smaps_rollup", pid);
    FILE* f = fopen(path, "r");
    if (!f)
        return;
    while (fgets(line, sizeof line, f)) {
        long v;
        if (sscanf(line, "Pss: %ld", &v) == 1)
            *pss += v;
        else if (sscanf(line, "Rss: %ld", &v) == 1)
            *rss += v;
    }
    fclose(f);
}

/* Fills tree[] with the program's processes: descendants of root, and members of its group. */
static int find_tree(int root, int* tree) {
    static int pids[MAX_PROCS], parents[MAX_PROCS], groups[MAX_PROCS];
    int n = 0, count = 0;
    DIR* d = opendir("/proc");
    struct dirent* e;
    while (d && (e = readdir(d)) && n < MAX_PROCS) {
        int pid = atoi(e->d_name), pgrp = 0;
        if (pid <= 0)
            continue;
        int ppid = parent_of(pid, &pgrp);
        if (ppid < 0)
            continue;
        pids[n] = pid;
        parents[n] = ppid;
        groups[n] = pgrp;
        ++n;
    }
    if (d)
        closedir(d);
    for (int i = 0; i < n; ++i) {
        int in = groups[i] == root;
        for (int p = pids[i], hops = 0; !in && p > 1 && hops < 64; ++hops) {
            if (p == root) {
                in = 1;
                break;
            }
            int j = 0;
            while (j < n && pids[j] != p)
                ++j;
            p = j < n ? parents[j] : 0;
        }
        if (in)
            tree[count++] = pids[i];
    }
    return count;
}

static void end_tree(int root) {
    static int tree[MAX_PROCS];
    int n = find_tree(root, tree);
    kill(-root, SIGTERM);
    for (int i = 0; i < n; ++i)
        kill(tree[i], SIGTERM);
    for (int waited = 0; waited < 20 && waitpid(root, NULL, WNOHANG) == 0; ++waited)
        usleep(50000);
    n = find_tree(root, tree);
    kill(-root, SIGKILL);
    for (int i = 0; i < n; ++i)
        kill(tree[i], SIGKILL);
    waitpid(root, NULL, 0);
}

int main(int argc, char** argv) {
    if (argc < 6 || strcmp(argv[4], "--") != 0) {
        fprintf(stderr, "usage: mapwatch MIN_WIDTH MIN_HEIGHT SETTLE_MS -- program [args...]\n");
        return 2;
    }
    const int min_w = atoi(argv[1]), min_h = atoi(argv[2]);
    const double settle = atof(argv[3]);
    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "mapwatch: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignore_x_error);
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, False);

    const double t0 = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        close(ConnectionNumber(dpy));
        execvp(argv[5], argv + 5);
        _exit(127);
    }
    setpgid(child, child);

    double mapped = -1;
    int width = 0, height = 0;
    struct pollfd pfd = {ConnectionNumber(dpy), POLLIN, 0};
    for (;;) {
        while (mapped < 0 && XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            XWindowAttributes a;
            if (ev.type == MapNotify && XGetWindowAttributes(dpy, ev.xmap.window, &a) && a.width >= min_w &&
                a.height >= min_h) {
                mapped = now_ms() - t0;
                width = a.width;
                height = a.height;
            }
        }
        const double left = settle - (now_ms() - t0);
        if (left <= 0)
            break;
        poll(&pfd, 1, (int)left + 1);
    }

    static int tree[MAX_PROCS];
    const int n = find_tree(child, tree);
    long pss = 0, rss = 0;
    for (int i = 0; i < n; ++i)
        add_rollup(tree[i], &pss, &rss);
    end_tree(child);
    printf("map_ms=%.1f width=%d height=%d pss_kib=%ld rss_kib=%ld procs=%d\n", mapped, width, height, pss, rss,
           n);
    XCloseDisplay(dpy);
    return mapped < 0 ? 1 : 0;
}
