/* Reads what a window shows: prints the colour at each point as RRGGBB, one
   a line, and with -o writes the whole window as a binary PPM picture.
   Usage: xpixel WINDOW-ID [-o FILE.ppm] [X Y]... */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: xpixel WINDOW-ID [-o FILE.ppm] [X Y]...\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "xpixel: cannot open display\n");
        return 1;
    }
    Window window = (Window)strtoul(argv[1], NULL, 0);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 1;
    XImage* image = XGetImage(display, window, 0, 0, (unsigned)attributes.width, (unsigned)attributes.height,
                              AllPlanes, ZPixmap);
    if (image == NULL) {
        fprintf(stderr, "xpixel: cannot read the window\n");
        return 1;
    }
    int status = 0;
    for (int i = 2; i < argc; i += 2) {
        if (strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            FILE* out = fopen(argv[i + 1], "wb");
            if (out == NULL) return 1;
            fprintf(out, "P6\n%d %d\n255\n", attributes.width, attributes.height);
            for (int y = 0; y < attributes.height; ++y)
                for (int x = 0; x < attributes.width; ++x) {
                    unsigned long p = XGetPixel(image, x, y);
                    fputc((int)((p >> 16) & 0xFF), out);
                    fputc((int)((p >> 8) & 0xFF), out);
                    fputc((int)(p & 0xFF), out);
                }
            fclose(out);
            continue;
        }
        if (i + 1 >= argc) break;
        int x = atoi(argv[i]), y = atoi(argv[i + 1]);
        if (x < 0 || y < 0 || x >= attributes.width || y >= attributes.height) {
            printf("outside\n");
            status = 1;
            continue;
        }
        printf("%06lx\n", XGetPixel(image, x, y) & 0xFFFFFFUL);
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    return status;
}
