/* Loads every picture, cursor, sound and animation of res/plugwarden_art.rc
 * (or, with the argument "updater", of res/plugrenew_art.rc) the way the programs do and checks what comes
 * back.  Built and run by scripts/make-art-check (under Wine on Linux).
 * Prints one line per check and closes with "N passed, N failed". */

#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

static int passed, failed;

static void check(int ok, const char *what)
{
    printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
    if (ok)
        passed++;
    else
        failed++;
}

struct bitmap_expect { int id, w, h; };

static const struct bitmap_expect bitmaps[] = {
    {205, 252, 136}, {206, 44, 44}, {207, 44, 44}, {208, 44, 44}, {209, 44, 44},
    {210, 44, 44}, {211, 44, 44}, {212, 44, 44}, {213, 44, 44},
    {216, 32, 32}, {218, 32, 32}, {219, 32, 32}, {220, 32, 32}, {221, 32, 32},
    {222, 32, 32}, {223, 65, 61}, {224, 61, 53}, {225, 60, 53}, {226, 52, 52},
    {227, 52, 52}, {228, 48, 48},
    {229, 44, 44}, {230, 44, 44}, {231, 44, 44}, {232, 44, 44}, {233, 44, 44},
    {234, 44, 44}, {235, 44, 44}, {236, 44, 44},
};

static const struct bitmap_expect updater_bitmaps[] = {
    {131, 152, 262},
};

static const int icons[] = {128, 130, 132, 160, 166, 191};
static const int icon_sizes[] = {16, 20, 24, 32, 48};

/* highlighted / plain tab pairs: the plain one must have the same size
 * and the same transparent (white) pixels */
static const int tab_pairs[][2] = {
    {211, 229}, {208, 230}, {207, 231}, {209, 234},
    {212, 232}, {210, 236}, {206, 235}, {213, 233},
};

static int white_pixels(HBITMAP bmp, int w, int h, unsigned char *maskout)
{
    BITMAPINFO bi;
    unsigned char *bits;
    HDC dc = GetDC(NULL);
    int x, y, n = 0, stride = ((w * 3 + 3) & ~3);

    memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bits = (unsigned char *)malloc(stride * h);
    if (!GetDIBits(dc, bmp, 0, h, bits, &bi, DIB_RGB_COLORS))
        n = -1;
    else
        for (y = 0; y < h; y++)
            for (x = 0; x < w; x++) {
                unsigned char *p = bits + y * stride + x * 3;
                int white = p[0] == 255 && p[1] == 255 && p[2] == 255;
                if (maskout)
                    maskout[y * w + x] = (unsigned char)white;
                n += white;
            }
    free(bits);
    ReleaseDC(NULL, dc);
    return n;
}

static void check_bitmap_list(HINSTANCE inst, const struct bitmap_expect *bitmaps,
                              size_t count, int opaque)
{
    char what[160];
    size_t i;

    for (i = 0; i < count; i++) {
        HBITMAP b = LoadBitmapA(inst, MAKEINTRESOURCEA(bitmaps[i].id));
        BITMAP bm;
        int ok = b && GetObjectA(b, sizeof bm, &bm) == sizeof bm &&
                 bm.bmWidth == bitmaps[i].w && bm.bmHeight == bitmaps[i].h;
        sprintf(what, "bitmap %d loads at %dx%d", bitmaps[i].id, bitmaps[i].w, bitmaps[i].h);
        check(ok, what);
        if (b && !opaque) {
            int n = white_pixels(b, bitmaps[i].w, bitmaps[i].h, NULL);
            sprintf(what, "bitmap %d has transparent white and a visible picture", bitmaps[i].id);
            check(n > 0 && n < bitmaps[i].w * bitmaps[i].h * 9 / 10, what);
        }
        if (b)
            DeleteObject(b);
    }
}

static void check_bitmaps(HINSTANCE inst)
{
    char what[160];
    size_t i;

    check_bitmap_list(inst, bitmaps, sizeof bitmaps / sizeof bitmaps[0], 0);
    for (i = 0; i < sizeof tab_pairs / sizeof tab_pairs[0]; i++) {
        HBITMAP on = LoadBitmapA(inst, MAKEINTRESOURCEA(tab_pairs[i][0]));
        HBITMAP off = LoadBitmapA(inst, MAKEINTRESOURCEA(tab_pairs[i][1]));
        unsigned char m1[44 * 44], m2[44 * 44];
        int ok = on && off &&
                 white_pixels(on, 44, 44, m1) >= 0 && white_pixels(off, 44, 44, m2) >= 0 &&
                 memcmp(m1, m2, sizeof m1) == 0;
        sprintf(what, "tabs %d and %d share their transparent area", tab_pairs[i][0], tab_pairs[i][1]);
        check(ok, what);
        if (on) DeleteObject(on);
        if (off) DeleteObject(off);
    }
}

static void check_icon_sizes(HINSTANCE inst, int id)
{
    char what[160];
    size_t k;
    HICON first = (HICON)LoadImageA(inst, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, 0);
    ICONINFO ii;
    BITMAP bm;
    int ok = first && GetIconInfo(first, &ii) &&
             GetObjectA(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm) &&
             bm.bmWidth == 32;
    sprintf(what, "icon %d loads at its own size (32)", id);
    check(ok, what);
    if (first)
        DestroyIcon(first);

    for (k = 0; k < sizeof icon_sizes / sizeof icon_sizes[0]; k++) {
        int s = icon_sizes[k];
        HICON h = (HICON)LoadImageA(inst, MAKEINTRESOURCEA(id), IMAGE_ICON, s, s, 0);
        ok = h && GetIconInfo(h, &ii) && GetObjectA(ii.hbmColor, sizeof bm, &bm) &&
             bm.bmWidth == s && bm.bmHeight == s;
        sprintf(what, "icon %d has a %dx%d image", id, s, s);
        check(ok, what);
        if (h)
            DestroyIcon(h);
    }
    ok = LoadIconA(inst, MAKEINTRESOURCEA(id)) != NULL;
    sprintf(what, "icon %d loads with LoadIcon", id);
    check(ok, what);
}

static void check_cursor(HINSTANCE inst)
{
    HCURSOR c = LoadCursorA(inst, MAKEINTRESOURCEA(137));
    ICONINFO ii;
    BITMAP bm;
    int ok = c && GetIconInfo(c, &ii);
    check(ok, "cursor 137 loads");
    check(ok && !ii.fIcon && ii.xHotspot == 5 && ii.yHotspot == 0, "cursor 137 hot spot is (5,0)");
    check(ok && GetObjectA(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm) &&
          bm.bmWidth == 32, "cursor 137 is 32 pixels wide");
}

static void check_wave(HINSTANCE inst)
{
    HRSRC r = FindResourceA(inst, MAKEINTRESOURCEA(167), "WAVE");
    const unsigned char *p = r ? (const unsigned char *)LockResource(LoadResource(inst, r)) : NULL;
    DWORD size = r ? SizeofResource(inst, r) : 0;
    int ok = p && size > 44 && memcmp(p, "RIFF", 4) == 0 && memcmp(p + 8, "WAVEfmt ", 8) == 0;
    check(ok, "wave 167 is a RIFF WAVE resource");
    if (ok) {
        WORD fmt = *(const WORD *)(p + 20), ch = *(const WORD *)(p + 22);
        DWORD rate = *(const DWORD *)(p + 24), bytes_per_sec = *(const DWORD *)(p + 28);
        DWORD data = *(const DWORD *)(p + 40);
        check(fmt == 1 && ch == 1, "wave 167 is mono PCM");
        check(data / (double)bytes_per_sec < 1.0 && rate > 8000, "wave 167 lasts under one second");
    }
}

#define PARENT_BG RGB(200, 230, 200)
static HBRUSH parent_brush;

static LRESULT CALLBACK parent_proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_CTLCOLORSTATIC)
        return (LRESULT)parent_brush;
    return DefWindowProcA(wnd, msg, wp, lp);
}

static void pump(int ms)
{
    DWORD end = GetTickCount() + ms;
    MSG m;
    while ((int)(end - GetTickCount()) > 0) {
        while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(10);
    }
}

static void check_avi(HINSTANCE inst, HWND parent, int id, int w, int h, int px, int py)
{
    char what[160];
    HDC dc;
    COLORREF corner, middle;
    HWND anim = CreateWindowExA(0, ANIMATE_CLASSA, "", WS_CHILD | WS_VISIBLE | ACS_TRANSPARENT,
                                10, 10, 300, 60, parent, (HMENU)1029, inst, NULL);
    int ok;
    RECT rc;

    sprintf(what, "animation control for AVI %d created", id);
    check(anim != NULL, what);
    if (!anim)
        return;
    ok = (int)SendMessageA(anim, ACM_OPENA, (WPARAM)inst, (LPARAM)MAKEINTRESOURCEA(id));
    sprintf(what, "AVI %d opens in the animation control", id);
    check(ok, what);
    ok = (int)SendMessageA(anim, ACM_PLAY, (WPARAM)-1, MAKELONG(0, -1));
    sprintf(what, "AVI %d plays", id);
    check(ok, what);
    pump(400);
    dc = GetDC(anim);
    corner = GetPixel(dc, 0, 0);
    middle = GetPixel(dc, px, py);
    ReleaseDC(anim, dc);
    sprintf(what, "AVI %d background shows the parent's colour (got %06lx)", id, (unsigned long)corner);
    check(corner == PARENT_BG, what);
    sprintf(what, "AVI %d draws its picture (%06lx at the probe point)", id, (unsigned long)middle);
    check(middle != PARENT_BG && middle != CLR_INVALID, what);
    SendMessageA(anim, ACM_STOP, 0, 0);
    GetClientRect(anim, &rc);
    printf("info: animation control %d is %ldx%ld after opening (frames %dx%d)\n",
           id, rc.right, rc.bottom, w, h);
    DestroyWindow(anim);
}

int main(int argc, char **argv)
{
    HINSTANCE inst = GetModuleHandleA(NULL);
    INITCOMMONCONTROLSEX icc;
    HWND parent;
    size_t i;

    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_ANIMATE_CLASS;
    InitCommonControlsEx(&icc);

    if (argc > 1 && strcmp(argv[1], "updater") == 0) {
        /* the updater's own resources: banner picture (opaque) and icon */
        check_bitmap_list(inst, updater_bitmaps, 1, 1);
        check_icon_sizes(inst, 128);
        printf("%d passed, %d failed\n", passed, failed);
        return failed ? 1 : 0;
    }

    check_bitmaps(inst);
    for (i = 0; i < sizeof icons / sizeof icons[0]; i++)
        check_icon_sizes(inst, icons[i]);
    check_cursor(inst);
    check_wave(inst);

    {
        WNDCLASSA wc;
        memset(&wc, 0, sizeof wc);
        parent_brush = CreateSolidBrush(PARENT_BG);
        wc.lpfnWndProc = parent_proc;
        wc.hInstance = inst;
        wc.hbrBackground = parent_brush;
        wc.lpszClassName = "ArtCheckParent";
        RegisterClassA(&wc);
    }
    parent = CreateWindowExA(0, "ArtCheckParent", "art", WS_POPUP | WS_VISIBLE,
                             0, 0, 400, 200, NULL, NULL, inst, NULL);
    check(parent != NULL, "parent window created");
    pump(100);
    if (parent) {
        check_avi(inst, parent, 170, 40, 40, 20, 26);   /* stick body */
        check_avi(inst, parent, 183, 224, 40, 20, 28);  /* folder */
        DestroyWindow(parent);
    }

    printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
