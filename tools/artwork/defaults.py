"""What each control shows when the editor opens at the plug-in's defaults.

The parameter table is read from the plug-in's own source, engine/Morvex.cpp,
rather than copied here, and each default is turned into the normalized value
and the filmstrip frame exactly as the plug-in and its controls do."""

import functools
import math
import os
import re
from collections import namedtuple

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, "..", "..", "engine", "Morvex.cpp")

Param = namedtuple("Param", "name default minimum maximum shape")

_NUMBER = r"[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?"
_ENTRY = re.compile(r"\{\s*Morvex::k\w+\s*,\s*\"([^\"]+)\"([^{}]*)\}")


def _table(source, name):
    match = re.search(r"\b%s\[\]\s*=\s*\{(.*?)\n\};" % name, source, re.S)
    if not match:
        raise ValueError("%s: no table %s" % (SOURCE, name))
    # The numbers of each entry in order; names and labels are skipped.
    return [(title, [float(x) for x in re.findall(r"(?<![\w.\"])%s(?![\w.])" % _NUMBER,
                                                  re.sub(r"\"[^\"]*\"", "", rest))])
            for title, rest in _ENTRY.findall(match.group(1))]


def _step(source):
    match = re.search(r"kContinuousStep\s*=\s*(%s)\s*;" % _NUMBER, source)
    if not match:
        raise ValueError("%s: no kContinuousStep" % SOURCE)
    return float(match.group(1))


@functools.lru_cache(maxsize=None)
def parameters(path=SOURCE):
    """Every parameter with a control, by title: its default, range and shape.
    Continuous entries read (default, minimum, maximum, shape), switches
    (default) and run from 0 to 1."""
    with open(path) as f:
        source = f.read()
    step = _step(source)
    params = {}
    for title, numbers in _table(source, "kContinuousParams"):
        if len(numbers) != 4:
            raise ValueError("%s: %s has %d numbers, not 4" % (path, title, len(numbers)))
        default, low, high, shape = numbers
        # The base widens a range narrower than one step.
        params[title] = Param(title, default, low, max(high, low + step), shape)
    for title, numbers in _table(source, "kSwitchParams"):
        if len(numbers) != 1:
            raise ValueError("%s: %s has %d numbers, not 1" % (path, title, len(numbers)))
        params[title] = Param(title, numbers[0], 0.0, 1.0, 1.0)
    return params


def normalized(param):
    """The plain default as a 0..1 value on the parameter's shape."""
    span = param.maximum - param.minimum
    if not span > 0.0:
        return 0.0
    fraction = (min(max(param.default, param.minimum), param.maximum) - param.minimum) / span
    return fraction if param.shape == 1.0 else math.pow(fraction, 1.0 / param.shape)


def frame(frames, value):
    """The 0-based frame of an n-frame strip that shows value."""
    if frames <= 1 or not math.isfinite(value):
        return 0
    v = min(max(value, 0.0), 1.0)
    return min(int(0.5 + v * (frames - 1)), frames - 1)
