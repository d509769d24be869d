#!/usr/bin/env python3
# Prints the OpenGL calls of a trace's first frames, one call a line, for comparing two
# traces: reads `apitrace pickle -s TRACE` on standard input; the argument is the number of
# frames. Left out, so that only the program's drawing remains: the window system's calls
# (glX..., wgl..., egl...), apitrace's own fake calls, and glGetString, which Wine's WGL calls
# when it makes a context current (the program never does). Each frame ends with a line
# "-- frame N --" where the trace swapped buffers. Floating-point values are written in full
# (Python's repr round-trips every bit), unlike `apitrace dump`.
import pickle
import sys

FAKE_CALL = 1 << 0


class Pointer(int):
    """An address: different in every process, so only whether it is null is kept."""


class CallUnpickler(pickle.Unpickler):
    def find_class(self, module, name):
        if (module, name) == ("unpickle", "Pointer"):
            return Pointer
        return super().find_class(module, name)


def value(item):
    if isinstance(item, Pointer):
        return "NULL" if item == 0 else "pointer"
    if isinstance(item, float):
        return repr(item)
    if isinstance(item, (list, tuple)):
        return "{" + ", ".join(value(v) for v in item) + "}"
    if isinstance(item, dict):
        return "{" + ", ".join(k + "=" + value(v) for k, v in item.items()) + "}"
    return str(item)


def main():
    frames = int(sys.argv[1])
    calls = CallUnpickler(sys.stdin.buffer)
    frame = 0
    out = sys.stdout
    while frame < frames:
        try:
            number, name, args, ret, flags = calls.load()
        except EOFError:
            break
        if name.startswith(("glX", "wgl", "egl")):
            if name in ("glXSwapBuffers", "eglSwapBuffers"):
                frame += 1
                out.write("-- frame %d --\n" % frame)
            continue
        if flags & FAKE_CALL or name == "glGetString":
            continue
        text = name + "(" + ", ".join(n + "=" + value(v) for n, v in args) + ")"
        if ret is not None:
            text += " = " + value(ret)
        out.write(text + "\n")


main()
