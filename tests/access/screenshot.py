"""A picture of an X display's screen as a PNG file, with the standard
library and libX11 alone (XGetImage of the root window)."""
import ctypes
import struct
import zlib


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


def grab(display_name, x, y, width, height):
    """The screen's pixels in the rectangle, as rows of RGB bytes."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XGetImage.restype = ctypes.POINTER(_XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(display_name.encode())
    if not display:
        raise RuntimeError("cannot open the display")
    all_planes, z_pixmap = 0xFFFFFFFF, 2
    image = x11.XGetImage(display, x11.XDefaultRootWindow(display), x, y, width, height,
                          all_planes, z_pixmap).contents
    if image.bits_per_pixel != 32:
        raise RuntimeError("only 32-bit screens are read")
    raw = ctypes.string_at(image.data, image.bytes_per_line * image.height)
    rows = []
    for row in range(image.height):
        line = raw[row * image.bytes_per_line:row * image.bytes_per_line + 4 * image.width]
        rgb = bytearray(3 * image.width)
        rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]  # BGRX
        rows.append(bytes(rgb))
    x11.XCloseDisplay(display)
    return rows


def save_png(path, rows):
    width, height = len(rows[0]) // 3, len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    body = zlib.compress(b"".join(b"\x00" + row for row in rows), 6)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", body) + chunk(b"IEND", b""))
