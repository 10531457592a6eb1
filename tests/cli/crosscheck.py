#!/usr/bin/env python3
"""Cross-check of prochnar-calc against an independent reference model.

The model below re-implements, in plain Python, everything the command does:
the Fixed4 scaled decimal, the exact text conversions (text to Fixed4, to
double and to single, all rounded from the exact decimal value), the double
arithmetic with its error rule, the three calculation steps, the five button
handlers with their state changes, the form file format and the output.

The script generates many forms (worked examples, plausible girders, and edge
cases such as zero divisors, range limits, ties and bad syntax), runs the
command on each one, computes the expected standard output and exit status
with the model, and compares them byte for byte.

    python3 tests/cli/crosscheck.py --calc build/cli/prochnar-calc [--count N] [--seed S]
    python3 tests/cli/crosscheck.py --model FORM [--press NAMES]   # the model's answer only

Exit status 0 when every form agrees, 1 otherwise (the first mismatches are
printed with their form, press list and a unified diff), 2 on a usage error.
"""

import decimal
import argparse
import concurrent.futures
import difflib
import math
import os
import random
import re
import subprocess
import sys
import tempfile
import time
from fractions import Fraction

if hasattr(sys, "set_int_max_str_digits"):
    sys.set_int_max_str_digits(0)

# ---------------------------------------------------------------------------
# Form vocabulary
# ---------------------------------------------------------------------------

WIRE_L = ["txtl%d" % i for i in range(1, 9)]
WIRE_GP = ["txtgp%d" % i for i in range(1, 9)]
WIRE_GPP = ["txtgpp%d" % i for i in range(1, 9)]

FIELDS = (["txtMn", "txtMp", "txtMv", "txtLp", "txtl", "txtG", "txtGg",
           "txtLpp", "txtH", "txtB", "txtIy", "txtIyy", "Text1", "Text9",
           "Text10", "Text15", "lblJ", "lblJ1", "Text3", "Text5"]
          + WIRE_L + WIRE_GP + WIRE_GPP
          + ["Text4", "Text6", "Text7", "Text8", "txtz2", "Text12", "Text14",
             "Text13", "txtQp", "txtZ1"])
FIELD_SET = frozenset(FIELDS)

STATES = ["Frame5.Visible", "Frame7.Enabled", "Command5.Enabled",
          "Frame9.Visible", "Command4.Enabled"]
STATE_SET = frozenset(STATES)

BUTTONS = ["Command2", "Command3", "Command5", "Command6", "Command4"]
DEFAULT_PRESS = ["Command2", "Command5", "Command4"]


def default_texts():
    """Field texts right after the window has loaded."""
    t = {name: "" for name in FIELDS}
    t["Text1"] = "21"
    for name in WIRE_L + WIRE_GP + WIRE_GPP:
        t[name] = "0"
    t["txtZ1"] = "Text13"
    t["Text15"] = "Text15"
    return t


def default_states():
    """The load handler's initial state: both later steps locked and covered."""
    return {"Frame5.Visible": True, "Frame7.Enabled": False,
            "Command5.Enabled": False, "Frame9.Visible": True,
            "Command4.Enabled": False}


MSG_NOT_SET = "Не установленны значения"
MSG_COMMA = "Десятичные вводятся через запяту."
MSG_ARITH = ("Ошибка вычисления: деление на ноль или переполнение. "
             "Проверьте исходные данные.")
MSG_COEFF = "Не выбраны коэффиценты продольного изгиба."


class ConversionError(Exception):
    """A text that is not a number in the accepted syntax."""


class ArithmeticFault(Exception):
    """Division by zero, invalid operation, overflow, or a number too large."""


# ---------------------------------------------------------------------------
# Number model
# ---------------------------------------------------------------------------

# The range is symmetric, +-922 337 203 685 477,5807: the count -2**63 is
# outside it even though a signed 64-bit integer could hold it.
FIXED_MAX = (1 << 63) - 1
FIXED_MIN = -FIXED_MAX

_NUMBER = re.compile(r"[ \t]*([+-]?)([0-9]*)(?:,([0-9]*))?[ \t]*")


def parse_decimal(text):
    """Exact value of a number text: (is_negative, non-negative Fraction)."""
    m = _NUMBER.fullmatch(text)
    if m is None:
        raise ConversionError(text)
    sign, whole, frac = m.group(1), m.group(2), m.group(3) or ""
    if not whole and not frac:
        raise ConversionError(text)
    scale = 10 ** len(frac)
    value = Fraction(int(whole or "0") * scale + int(frac or "0"), scale)
    return sign == "-", value


def fixed_check(count):
    if count < FIXED_MIN or count > FIXED_MAX:
        raise ArithmeticFault("Fixed4 out of range")
    return count


def text_to_fixed(text):
    """Fixed4 count (units of 1/10000), rounded ties-to-even from the digits."""
    neg, value = parse_decimal(text)
    count = round(value * 10000)          # Fraction rounding is half-to-even
    return fixed_check(-count if neg else count)


def fixed_add(a, b):
    return fixed_check(a + b)


def fixed_sub(a, b):
    return fixed_check(a - b)


def fixed_mul(a, b):
    return fixed_check(round(Fraction(a * b, 10000)))


def fixed_mul10(a):
    return fixed_check(a * 10)


def fixed_to_double(count):
    # The count becomes a double first (rounded when above 2**53), then /10000.
    return float(count) / 10000.0


def fixed_from_double(x):
    y = double_check(x * 10000.0)
    return fixed_check(round(y))          # float rounding is half-to-even


def fixed_to_text(count):
    sign = "-" if count < 0 else ""
    whole, frac = divmod(abs(count), 10000)
    digits = ("%04d" % frac).rstrip("0")
    return sign + str(whole) + ("," + digits if digits else "")


# Binary formats: (precision in bits, least normal exponent, largest finite value)
DOUBLE = (53, -1022, Fraction((1 << 53) - 1) * (Fraction(2) ** 971))
SINGLE = (24, -126, Fraction((1 << 24) - 1) * (Fraction(2) ** 104))


def _pow2(e):
    return Fraction(1 << e) if e >= 0 else Fraction(1, 1 << -e)


def round_binary(value, fmt):
    """Round a non-negative Fraction to the nearest value of the binary format,
    ties to even, subnormals included; overflow beyond the largest finite value
    is an arithmetic fault.  Returns the rounded value as a Python float (every
    single and double value is exactly a Python float)."""
    precision, emin, largest = fmt
    if value == 0:
        return 0.0
    n, d = value.numerator, value.denominator
    e = n.bit_length() - d.bit_length()
    if value < _pow2(e):
        e -= 1
    # now 2**e <= value < 2**(e+1)
    quantum = max(e, emin) - (precision - 1)
    mant = round(value / _pow2(quantum))
    rounded = mant * _pow2(quantum)
    if rounded > largest:
        raise ArithmeticFault("too large for the format")
    return math.ldexp(float(mant), quantum)


def text_to_double(text):
    neg, value = parse_decimal(text)
    r = round_binary(value, DOUBLE)
    return -r if neg else r


def text_to_single(text):
    neg, value = parse_decimal(text)
    r = round_binary(value, SINGLE)
    return -r if neg else r


def double_to_single(x):
    r = round_binary(Fraction(abs(x)), SINGLE)
    return -r if math.copysign(1.0, x) < 0 else r


def double_check(x):
    if math.isinf(x) or math.isnan(x):
        raise ArithmeticFault("overflow")
    return x


def d_add(a, b):
    return double_check(a + b)


def d_mul(a, b):
    return double_check(a * b)


def d_div(a, b):
    if b == 0.0:
        raise ArithmeticFault("division by zero or 0/0")
    return double_check(a / b)


def d_sqrt(a):
    if a < 0.0:
        raise ArithmeticFault("root of a negative number")
    return math.sqrt(a)


def _decimal_exponent(value):
    """k with 10**k <= value < 10**(k+1) for a positive Fraction."""
    n, d = value.numerator, value.denominator
    k = len(str(n)) - len(str(d))
    while Fraction(10) ** k > value:
        k -= 1
    while Fraction(10) ** (k + 1) <= value:
        k += 1
    return k


def single_to_text(x):
    """At most 7 significant digits, decimal comma, trailing zeros dropped,
    always written in full without an exponent (1234568000, 0,00001234568)."""
    if x == 0.0:
        return "0"                         # negative zero too
    sign = "-" if x < 0 else ""
    value = Fraction(abs(x))
    k = _decimal_exponent(value)
    digits = round(value / Fraction(10) ** (k - 6))   # 7 digits, half-to-even
    if digits == 10 ** 7:
        digits = 10 ** 6
        k += 1
    s = str(digits)
    if k >= 0:
        whole, frac = (s + "0" * k)[:k + 1], s[k + 1:]
    else:
        whole, frac = "0", "0" * (-k - 1) + s
    frac = frac.rstrip("0")
    return sign + whole + ("," + frac if frac else "")


# ---------------------------------------------------------------------------
# The three steps and the handlers
# ---------------------------------------------------------------------------

STEP1_FILLED = ["txtLpp", "txtH", "txtB", "txtMn", "txtMp", "txtMv", "txtLp",
                "txtl", "txtG", "txtGg", "Text9", "Text10"]
STEP2_FIXED = WIRE_L + WIRE_GP + WIRE_GPP + ["txtLp", "txtl", "txtG", "txtGg",
                                             "txtH", "txtLpp"]


class Form:
    def __init__(self, texts, states):
        self.t = texts
        self.s = states
        self.out = []            # output lines of the presses
        self.messaged = False

    def message(self, text, error_icon):
        self.messaged = True
        if error_icon:
            self.out.append("# message error: " + text)
        else:
            self.out.append("# message: " + text)


def fault_message(exc):
    return MSG_COMMA if isinstance(exc, ConversionError) else MSG_ARITH


def step1_confirm(f):
    t = f.t
    chord = 0
    diag = 0
    completed = False
    try:
        if any(t[name] == "" for name in STEP1_FILLED):
            f.message(MSG_NOT_SET, False)
        elif t["txtIy"] == "" or t["txtIyy"] == "":
            f.message(MSG_NOT_SET, False)
        else:
            lpp = text_to_double(t["txtLpp"])
            iy = text_to_double(t["txtIy"])
            chord = fixed_from_double(d_mul(d_div(lpp, iy), 100.0))
            h = text_to_fixed(t["txtH"])
            b = text_to_fixed(t["txtB"])
            half = d_div(fixed_to_double(fixed_add(h, b)), 2.0)
            iyy = text_to_double(t["txtIyy"])
            diag = fixed_from_double(d_mul(d_div(half, iyy), 100.0))
            completed = True
    except (ConversionError, ArithmeticFault) as exc:
        f.message(fault_message(exc), True)
    if completed:
        f.s["Frame5.Visible"] = False
        f.s["Frame7.Enabled"] = True
        f.s["Command5.Enabled"] = True
    t["lblJ"] = fixed_to_text(chord)
    t["lblJ1"] = fixed_to_text(diag)
    t["Text6"] = t["Text9"]
    t["Text8"] = t["Text9"]
    t["Text12"] = t["Text10"]


def step2_confirm(f):
    t = f.t
    reaction = 0
    force = 0
    try:
        mp = text_to_single(t["txtMp"])
        mv = text_to_single(t["txtMv"])
        t["Text15"] = "1" if mp >= mv else "0"
        v = {name: text_to_fixed(t[name]) for name in STEP2_FIXED}
        if t["Text3"] == "" or t["Text5"] == "":
            f.message(MSG_COEFF, False)
        else:
            l = v["txtl"]
            lp_d = fixed_to_double(v["txtLp"])
            s = None
            for i in range(8):
                c = fixed_from_double(d_div(43.0, fixed_to_double(l)))
                gp, gpp, li = v[WIRE_GP[i]], v[WIRE_GPP[i]], v[WIRE_L[i]]
                a = fixed_add(fixed_add(gp, c), fixed_sub(gpp, gp))
                p = fixed_mul(fixed_mul(fixed_mul10(a), l), li)
                term = d_div(fixed_to_double(p), lp_d)
                s = term if s is None else d_add(s, term)
            s = d_add(s, d_div(d_mul(fixed_to_double(v["txtl1"]), 4047.0), lp_d))
            w = fixed_mul10(fixed_add(v["txtG"], v["txtGg"]))
            r = d_mul(d_add(d_mul(d_div(lp_d, 2.0), fixed_to_double(w)), s), 1.15)
            reaction = fixed_from_double(r)
            q = d_sqrt(fixed_to_double(fixed_add(v["txtLpp"], v["txtH"])))
            d = d_div(fixed_to_double(v["txtH"]), q)
            z = d_div(r, d_add(d, d))
            force = fixed_from_double(z)
    except (ConversionError, ArithmeticFault) as exc:
        f.message(fault_message(exc), True)
    t["txtQp"] = fixed_to_text(reaction)
    t["txtZ1"] = fixed_to_text(force)
    f.s["Frame9.Visible"] = False
    f.s["Command4.Enabled"] = True


STEP3_RESULTS = ["Text4", "Text7", "txtz2", "Text13", "Text14"]


def step3_execute(f):
    t = f.t
    done = 0
    ten7 = 10.0 ** 7
    ten4 = 10.0 ** 4

    def put(value):
        nonlocal done
        t[STEP3_RESULTS[done]] = single_to_text(value)
        done += 1

    try:
        mp = text_to_single(t["txtMp"])
        mv = text_to_single(t["txtMv"])
        h = text_to_single(t["txtH"])
        phi_c = text_to_single(t["Text3"])
        rp = text_to_single(t["Text1"])
        flag = t["Text15"]
        if flag == "1" or flag == "0":
            m = mp if flag == "1" else mv
            a = d_div(d_mul(m, 10000.0), d_add(h, h))
            b = d_div(a, d_mul(d_mul(ten7, rp), phi_c))
            put(double_to_single(d_mul(ten4, b)))
        else:
            put(0.0)
        mn = text_to_single(t["txtMn"])
        a = d_div(d_mul(mn, 10000.0), d_add(h, h))
        b = d_div(a, d_mul(ten7, rp))
        put(double_to_single(d_mul(ten4, b)))
        z = text_to_single(t["txtZ1"])
        put(double_to_single(d_mul(ten4, d_div(z, d_mul(ten7, rp)))))
        qp = text_to_single(t["txtQp"])
        put(double_to_single(d_div(qp, 2.0)))
        phi_d = text_to_single(t["Text5"])
        area = text_to_single(t["Text10"])
        c = d_div(area, ten4)
        put(double_to_single(d_mul(d_mul(d_mul(ten7, rp), phi_d), c)))
    except (ConversionError, ArithmeticFault) as exc:
        for name in STEP3_RESULTS[done:]:
            t[name] = ""
        f.message(fault_message(exc), True)


def step1_reset(f):
    t, s = f.t, f.s
    for name in ["txtLpp", "txtH", "txtB", "txtMn", "txtMp", "txtMv", "txtIy", "txtIyy"]:
        t[name] = ""
    t["Text1"] = "21"
    t["lblJ"] = ""
    s["Frame5.Visible"] = True
    s["Frame7.Enabled"] = False
    t["Text9"] = ""
    t["Text10"] = ""
    s["Command5.Enabled"] = False
    s["Frame9.Visible"] = False
    s["Command4.Enabled"] = False
    t["Text3"] = ""
    t["Text5"] = ""


def step2_reset(f):
    t, s = f.t, f.s
    for name in WIRE_L + WIRE_GP + WIRE_GPP:
        t[name] = "0"
    t["Text3"] = ""
    t["Text5"] = ""
    s["Frame9.Visible"] = False
    s["Command4.Enabled"] = False


HANDLERS = {"Command2": step1_confirm, "Command3": step1_reset,
            "Command5": step2_confirm, "Command6": step2_reset,
            "Command4": step3_execute}
ENABLED_BY = {"Command5": "Command5.Enabled", "Command4": "Command4.Enabled"}


def press(f, button):
    prop = ENABLED_BY.get(button)
    if prop is not None and not f.s[prop]:
        f.out.append("# press %s (disabled)" % button)
        return
    f.out.append("# press %s" % button)
    HANDLERS[button](f)


# ---------------------------------------------------------------------------
# The command: input file, presses, output
# ---------------------------------------------------------------------------

class InputError(Exception):
    pass


def parse_form(data):
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        raise InputError("not UTF-8")
    texts = default_texts()
    states = default_states()
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    for line in lines:
        if line.endswith("\r"):
            line = line[:-1]
        if line == "" or line.startswith("#"):
            continue
        if "=" not in line:
            raise InputError("line without =")
        name, value = line.split("=", 1)
        if name in FIELD_SET:
            texts[name] = value
        elif name in STATE_SET:
            if value not in ("0", "1"):
                raise InputError("bad state value")
            states[name] = value == "1"
        else:
            raise InputError("unknown name")
    return texts, states


def model_run(data, presses):
    """Expected (exit status, standard output bytes) of the command.

    presses is a list of button names, or None for the default road."""
    if presses is None:
        presses = DEFAULT_PRESS
    for b in presses:
        if b not in HANDLERS:
            return 2, b""
    try:
        texts, states = parse_form(data)
    except InputError:
        return 2, b""
    f = Form(texts, states)
    for b in presses:
        press(f, b)
    lines = f.out
    lines += ["%s=%s" % (name, f.t[name]) for name in FIELDS]
    lines += ["%s=%d" % (name, 1 if f.s[name] else 0) for name in STATES]
    return (1 if f.messaged else 0), ("\n".join(lines) + "\n").encode("utf-8")


# ---------------------------------------------------------------------------
# Self-check of the model on the worked examples
# ---------------------------------------------------------------------------

def _form_bytes(pairs):
    return "".join("%s=%s\n" % kv for kv in pairs).encode("utf-8")


def _model_fields(pairs, presses=None):
    status, out = model_run(_form_bytes(pairs), presses)
    result = {}
    for line in out.decode("utf-8").split("\n"):
        if "=" in line and not line.startswith("#"):
            k, v = line.split("=", 1)
            result[k] = v
    return status, result, out.decode("utf-8")


STEP1_FILL = [("txtMn", "3"), ("txtMp", "5"), ("txtMv", "4"), ("txtLp", "20"),
              ("txtl", "65"), ("txtG", "1"), ("txtGg", "1,5"), ("Text9", "12,5"),
              ("Text10", "10")]


def self_check():
    problems = []

    def expect(what, got, want):
        if got != want:
            problems.append("%s: model gives %r, expected %r" % (what, got, want))

    # Text conversions and Fixed4 text.
    expect("2,5 to Fixed4", fixed_to_text(text_to_fixed("2,5")), "2,5")
    expect("1,23456 to Fixed4", fixed_to_text(text_to_fixed("1,23456")), "1,2346")
    expect("-0,5", fixed_to_text(text_to_fixed("-0,5")), "-0,5")
    expect("100", fixed_to_text(text_to_fixed("100")), "100")
    expect("12,50", fixed_to_text(text_to_fixed("12,50")), "12,5")
    expect("0,05", fixed_to_text(text_to_fixed("0,05")), "0,05")
    expect("2,00005 tie", fixed_to_text(text_to_fixed("2,00005")), "2")
    expect("1,23455 tie", fixed_to_text(text_to_fixed("1,23455")), "1,2346")
    for bad in ["2.5", "", " ", ",", "+", "1e5", "1 000", "abc", "- 5"]:
        try:
            text_to_fixed(bad)
            problems.append("%r should not convert" % bad)
        except ConversionError:
            pass
    for good, want in [(",5", "0,5"), ("5,", "5"), ("+3", "3"), (" \t7 ", "7"), ("-0", "0")]:
        expect(repr(good), fixed_to_text(text_to_fixed(good)), want)
    expect("-0 as double keeps its sign", math.copysign(1.0, text_to_double("-0")), -1.0)

    # Text to double and single, compared with Python's correctly rounded float().
    rng = random.Random(7)
    for _ in range(3000):
        digits = "".join(rng.choice("0123456789") for _ in range(rng.randint(1, 30)))
        cut = rng.randint(0, len(digits))
        txt = digits[:cut] + "," + digits[cut:]
        if txt == ",":
            continue
        py = float(txt.replace(",", "."))
        expect("double " + txt, text_to_double(txt), py)
    for txt, want in [("1", 1.0), ("0,1", 0.10000000149011612), ("16777217", 16777216.0),
                      ("16777219", 16777220.0)]:
        expect("single " + txt, text_to_single(txt), want)
    # Midpoints between neighbouring singles go to the even one; a hair above a
    # midpoint goes up (a text read through a double first would lose the hair).
    half_up = Fraction(8388609, 1 << 23) + Fraction(1, 1 << 24)    # between 1+2^-23 and 1+2^-22
    expect("single tie to even", round_binary(half_up, SINGLE), 1.0 + 2.0 ** -22)
    expect("single above tie", round_binary(half_up + Fraction(1, 10 ** 40), SINGLE),
           1.0 + 2.0 ** -22)
    below = Fraction(8388608, 1 << 23) + Fraction(1, 1 << 24)      # midpoint of 1, 1+2^-23
    expect("single tie down to even", round_binary(below, SINGLE), 1.0)
    expect("single just above tie", round_binary(below + Fraction(1, 10 ** 60), SINGLE),
           1.0 + 2.0 ** -23)
    expect("smallest single subnormal", text_to_single(_exact_decimal(_pow2(-149))), 2.0 ** -149)
    expect("half of it ties to zero", text_to_single(_exact_decimal(_pow2(-150))), 0.0)
    expect("smallest double subnormal", text_to_double(_exact_decimal(_pow2(-1074))), 5e-324)

    # Single to text, compared with C-like %.7g from Python's correctly rounded
    # formatter, written out in full.
    for _ in range(3000):
        x = double_to_single(rng.choice([rng.uniform(-1, 1), rng.uniform(-1e9, 1e9)])
                             * 10.0 ** rng.randint(-45, 28))
        ref = format(decimal.Decimal("%.7g" % x), "f")
        if "." in ref:
            ref = ref.rstrip("0").rstrip(".")
        ref = ref.replace(".", ",")
        if x == 0:
            ref = "0"
        expect("single text of %r" % x, single_to_text(x), ref)

    # Step 1 worked examples.
    _, r, _ = _model_fields(STEP1_FILL + [("txtLpp", "3"), ("txtIy", "1,5"), ("txtH", "1,2"),
                                          ("txtB", "0,8"), ("txtIyy", "2")], ["Command2"])
    expect("step 1 lblJ", r["lblJ"], "200")
    expect("step 1 lblJ1", r["lblJ1"], "50")
    expect("step 1 opens step 2", (r["Frame5.Visible"], r["Frame7.Enabled"],
                                   r["Command5.Enabled"]), ("0", "1", "1"))
    expect("step 1 copies", (r["Text6"], r["Text8"], r["Text12"]), ("12,5", "12,5", "10"))
    _, r, _ = _model_fields(STEP1_FILL + [("txtLpp", "2"), ("txtIy", "3"), ("txtH", "1,23456"),
                                          ("txtB", "0,5"), ("txtIyy", "1")], ["Command2"])
    expect("step 1 lblJ 66,6667", r["lblJ"], "66,6667")
    expect("step 1 lblJ1 86,73", r["lblJ1"], "86,73")
    st, r, _ = _model_fields(STEP1_FILL + [("txtLpp", "3"), ("txtIy", "1.5"), ("txtH", "1"),
                                           ("txtB", "1"), ("txtIyy", "1")], ["Command2"])
    expect("step 1 decimal point", (st, r["lblJ"], r["lblJ1"], r["Command5.Enabled"]),
           (1, "0", "0", "0"))
    st, r, _ = _model_fields(STEP1_FILL + [("txtLpp", "3"), ("txtIy", "-1,5"), ("txtH", "1"),
                                           ("txtB", "1"), ("txtIyy", "1")], ["Command2"])
    expect("step 1 negative", (st, r["lblJ"]), (0, "-200"))

    # Step 2 worked examples.
    step2 = [("Command5.Enabled", "1"), ("Text3", "0,8"), ("Text5", "0,7"), ("txtMp", "5"),
             ("txtMv", "4"), ("txtLp", "20"), ("txtG", "1"), ("txtGg", "1,5"),
             ("txtH", "1,5"), ("txtLpp", "2,5")]
    st, r, _ = _model_fields(step2 + [("txtl1", "7"), ("txtgp1", "1"), ("txtgpp1", "2,5"),
                                      ("txtl", "65")], ["Command5"])
    expect("step 2 txtQp", r["txtQp"], "2743,5449")
    expect("step 2 txtZ1", r["txtZ1"], "1829,03")
    expect("step 2 opens step 3", (st, r["Frame9.Visible"], r["Command4.Enabled"]), (0, "0", "1"))
    _, r, _ = _model_fields(step2 + [("txtl", "50"), ("txtG", "0,8"), ("txtGg", "1,2")],
                            ["Command5"])
    expect("step 2 girder only", (r["txtQp"], r["txtZ1"]), ("230", "153,3333"))
    for mp, mv, flag in [("12", "12,0", "1"), ("100", "99,5", "1"), ("-5", "3", "0")]:
        _, r, _ = _model_fields(step2 + [("txtl", "50"), ("txtMp", mp), ("txtMv", mv)],
                                ["Command5"])
        expect("flag %s/%s" % (mp, mv), r["Text15"], flag)
    st, r, _ = _model_fields(step2 + [("txtl", "0")], ["Command5"])
    expect("span 0", (st, r["txtQp"], r["txtZ1"]), (1, "0", "0"))
    st, r, _ = _model_fields(step2 + [("txtl", "50"), ("txtH", "0")], ["Command5"])
    expect("height 0", (st, r["txtQp"] != "0", r["txtZ1"]), (1, True, "0"))

    # Step 3 worked example.
    step3 = [("Command4.Enabled", "1"), ("txtMp", "5"), ("txtMv", "4"), ("txtMn", "3"),
             ("txtH", "1,5"), ("Text1", "21"), ("Text3", "0,8"), ("Text15", "1"),
             ("txtZ1", "50000"), ("txtQp", "12345,67")]
    st, r, _ = _model_fields(step3 + [("Text5", "0,8"), ("Text10", "10")], ["Command4"])
    expect("step 3 results", (st, r["Text4"], r["Text7"], r["txtz2"], r["Text13"], r["Text14"]),
           (0, "0,9920635", "0,4761905", "2,380952", "6172,835", "168000"))
    _, r, _ = _model_fields(step3 + [("Text5", "0,7"), ("Text10", "6,5")], ["Command4"])
    expect("step 3 Text14", r["Text14"], "95550")
    _, r, _ = _model_fields(step3 + [("Text5", "0,7"), ("Text10", "6,5"), ("Text15", " 1")],
                            ["Command4"])
    expect("step 3 other flag", (r["Text4"], r["Text7"]), ("0", "0,4761905"))
    st, r, _ = _model_fields(step3 + [("Text5", "0,7"), ("Text10", "6,5"), ("txtQp", "x")],
                             ["Command4"])
    expect("step 3 failure clears", (st, r["txtz2"], r["Text13"], r["Text14"]),
           (1, "2,380952", "", ""))

    # Handlers and the disabled button.
    _, _, out = _model_fields([], None)
    expect("default road", out.split("\n")[0:2], ["# press Command2", "# message: " + MSG_NOT_SET])
    expect("disabled press", "# press Command5 (disabled)" in out, True)
    return problems


def _exact_decimal(value):
    """Exact decimal-comma text of a Fraction whose denominator divides a power of ten."""
    neg = value < 0
    value = abs(value)
    k = 0
    while (value * 10 ** k).denominator != 1:
        k += 1
    n = int(value * 10 ** k)
    return ("-" if neg else "") + _fmt(n, k)


def _fmt(n, k):
    """Decimal-comma text of n / 10**k."""
    sign = "-" if n < 0 else ""
    s = str(abs(n))
    if k == 0:
        return sign + s
    s = s.rjust(k + 1, "0")
    return sign + s[:-k] + "," + s[-k:]


# ---------------------------------------------------------------------------
# Form generator
# ---------------------------------------------------------------------------

DMAX = DOUBLE[2]
FMAX = SINGLE[2]

FIXED_EDGES = [
    "922337203685477,5807", "922337203685477,5808", "-922337203685477,5808",
    "-922337203685477,5809", "922337203685477,58075", "922337203685477,580749",
    "-922337203685477,58085", "-922337203685477,580849", "922337203685477",
    "-922337203685477", "9223372036854775807", "461168601842738,7904",
    "461168601842738,7903", "99999999999999999999", "30000000000", "3037000499,97605",
]

DOUBLE_EDGES = [
    _exact_decimal(DMAX),
    _exact_decimal(DMAX + _pow2(970)),            # tie: rounds beyond the largest
    _exact_decimal(DMAX + _pow2(970) - 1),        # just below: rounds to the largest
    "1" + "0" * 308, "1" + "0" * 309, "-1" + "0" * 309,
    _exact_decimal(_pow2(-1074)), _exact_decimal(_pow2(-1075)),
    _exact_decimal(_pow2(-1075)) + "1",
    "0," + "0" * 330 + "1", "0," + "0" * 309 + "1", "0," + "0" * 307 + "22250738585072014",
    "1" + "0" * 300, "0,0000000000001",
]

SINGLE_EDGES = [
    _exact_decimal(FMAX),
    _exact_decimal(FMAX + _pow2(103)),            # tie: rounds beyond the largest single
    _exact_decimal(FMAX + _pow2(103) - Fraction(1, 10)),
    "340282356779733661637539395458142568447,9", "340282356779733661637539395458142568448",
    "1" + "0" * 38, "1" + "0" * 39, "-1" + "0" * 39, "1" + "0" * 50,
    _exact_decimal(_pow2(-149)), _exact_decimal(_pow2(-150)), _exact_decimal(_pow2(-150)) + "1",
    "0," + "0" * 44 + "7", "0," + "0" * 45 + "7", "0," + "0" * 37 + "11754942",
    "0," + "0" * 37 + "117549435", "0," + "0" * 60 + "1", "-0," + "0" * 60 + "1",
    "16777217", "16777219", "33554435", "0,1", "1,00000005960464477539062500",
    "1,000000059604644775390625", "1,0000000596046447753906251",
    "1234567,5", "1234568,5", "9999999,5", "99999995", "0,00001", "0,0001",
    "999999,95", "9999999", "12345678", "0,000012345675",
]

SYNTAX_EDGES = [
    "", " ", "\t", "  ", "2.5", "1.0", "abc", "+3", "-3", "-0", "+0", ",5", "5,", "-,5",
    "+5,", ",", "+", "-", "+,", "-,", " 12,5 ", "\t7\t", " \t-1,25\t ", "1e5", "1E5", "1e-3",
    "1 000", "1 000,5", "1,2,3", "1,,2", "0x10", "--5", "+-5", "-+5", "- 5", "+ 5", "5-",
    "5 ,5", "5, 5", "12,50", "00012", "0012,3400", "NaN", "nan", "inf", "-inf", "Infinity",
    "\u0663", "\uff11", "1\u00a0", "\u00a01", "\v1", "1\f", "сто", "5 см", "5см", "1'000",
    "1_000", "0", "0,0", "-0,0", "0,00005", "0,00015", "0,00025", "-0,00005", "2,00005",
    "1,23455", "-1,23455", "1,234549999", "1,2345500001", "99,99995", "-99,99995",
    "0," + "0" * 20 + "1", "1" + "0" * 25, "#5", "=5", "5=", "Text13", "Text15",
]


class Gen:
    def __init__(self, rng):
        self.r = rng

    def num(self, lo, hi, maxfrac=4, tie_bias=True):
        """A plausible decimal-comma number between lo and hi."""
        r = self.r
        k = r.choice([0, 0, 1, 1, 2, 2, 3, 4, 4] + ([5, 6, 8, 12] if maxfrac > 4 else []))
        n = r.randint(int(lo * 10 ** k), int(hi * 10 ** k))
        if tie_bias and k >= 1 and r.random() < 0.2:
            n = n - n % 10 + 5
        s = _fmt(n, k)
        if k and r.random() < 0.1:
            s += "0" * r.randint(1, 3)      # trailing zeros typed by the user
        return s

    def edge(self):
        r = self.r
        pool = r.choice([SYNTAX_EDGES, SYNTAX_EDGES, FIXED_EDGES, DOUBLE_EDGES, SINGLE_EDGES])
        return r.choice(pool)

    def wild(self):
        """Any number, from tiny to huge, in the accepted syntax."""
        r = self.r
        digits = "".join(r.choice("0123456789") for _ in range(r.randint(1, 12)))
        exp = r.choice([0, 0, 0, r.randint(-50, 45)])
        if exp > 0:
            digits += "0" * exp
            s = digits
        elif exp < 0:
            s = "0," + "0" * (-exp) + digits
        else:
            cut = r.randint(0, len(digits))
            s = digits[:cut] + ("," + digits[cut:] if cut < len(digits) else "")
        if r.random() < 0.25:
            s = "-" + s
        return s

    def maybe(self, good, p_edge=0.06):
        return self.edge() if self.r.random() < p_edge else good

    def step1_fields(self):
        g = self
        return {
            "txtMn": g.num(5, 600), "txtMp": g.num(5, 600), "txtMv": g.num(5, 600),
            "txtLp": g.num(8, 45, 2), "txtl": g.num(20, 90, 2), "txtG": g.num(0.3, 3),
            "txtGg": g.num(0.5, 6), "txtLpp": g.num(0.5, 6, 6), "txtH": g.num(0.3, 3, 6),
            "txtB": g.num(0.2, 2.5, 6), "txtIy": g.num(0.5, 6, 6), "txtIyy": g.num(0.3, 4, 6),
            "Text9": g.num(2, 60), "Text10": g.num(1, 30),
        }

    def wires(self, lp=30.0):
        r = self.r
        t = {}
        n = r.randint(0, 8)
        for i in range(8):
            if i < n:
                t[WIRE_L[i]] = self.num(0, lp, 4)
                t[WIRE_GP[i]] = self.num(0, 3, 4)
                t[WIRE_GPP[i]] = self.num(0, 8, 4)
            elif r.random() < 0.1:
                t[WIRE_L[i]] = self.num(0, lp, 4)
        return t

    def coeffs(self):
        return {"Text3": self.num(0.05, 1, 3), "Text5": self.num(0.05, 1, 3)}


def realistic(g):
    r = g.r
    t = g.step1_fields()
    t.update(g.wires())
    t.update(g.coeffs())
    if r.random() < 0.2:
        t["Text1"] = g.num(15, 40, 2)
    for name in list(t):
        t[name] = g.maybe(t[name], 0.03)
    if r.random() < 0.2:
        stale(g, t, ["lblJ", "lblJ1", "txtQp", "txtZ1"] + STEP3_RESULTS)
    return t


def worked_example(g):
    r = g.r
    variants = [
        dict(STEP1_FILL, txtLpp="3", txtIy="1,5", txtH="1,2", txtB="0,8", txtIyy="2"),
        dict(STEP1_FILL, txtLpp="2", txtIy="3", txtH="1,23456", txtB="0,5", txtIyy="1"),
        dict(STEP1_FILL, txtLpp="2,5", txtIy="2", txtH="1,5", txtB="1", txtIyy="1,5",
             txtl1="7", txtgp1="1", txtgpp1="2,5", Text3="0,8", Text5="0,7"),
        dict(STEP1_FILL, txtLpp="2,5", txtIy="2", txtH="1,5", txtB="1", txtIyy="1,5",
             txtl="50", txtG="0,8", txtGg="1,2", Text3="0,8", Text5="0,8"),
        # ties of the double-to-Fixed4 rounding: 0,78125 and 2,34375 (exact in binary)
        dict(STEP1_FILL, txtLpp="0,0078125", txtIy="1", txtH="1", txtB="1", txtIyy="1"),
        dict(STEP1_FILL, txtLpp="0,0234375", txtIy="1", txtH="1", txtB="1", txtIyy="1"),
        dict(STEP1_FILL, txtLpp="0,001953125", txtIy="0,25", txtH="1", txtB="1", txtIyy="1"),
        # spans where 43 / l is exactly half-way between two Fixed4 values
        dict(STEP1_FILL, txtLpp="3", txtIy="1", txtH="1,5", txtB="1", txtIyy="1",
             txtl=r.choice(["1376", "275,2", "55,04", "11,008", "2,2016"]),
             txtl1=g.num(0, 20), Text3="0,8", Text5="0,8"),
    ]
    t = dict(r.choice(variants))
    if r.random() < 0.5:
        for name in r.sample(sorted(t), r.randint(1, 2)):
            t[name] = g.maybe(t[name], 0.7)
    return t


def step3_direct(g):
    """Forms that open step 3 directly and exercise its conversions and output."""
    r = g.r
    t = {}
    for name in ["txtMp", "txtMv", "txtMn", "txtH", "Text1", "Text3", "Text5",
                 "Text10", "txtQp", "txtZ1"]:
        x = r.random()
        if x < 0.45:
            t[name] = g.num(0.01, 1e5, 8)
        elif x < 0.8:
            t[name] = g.wild()
        elif x < 0.9:
            t[name] = r.choice(SINGLE_EDGES)
        else:
            t[name] = g.edge()
    if r.random() < 0.3:
        t["txtQp"] = str(2 * r.randint(1000000, 10000000) + 1)   # Q/2 ties at 7 digits
    if r.random() < 0.3:
        t["Text1"] = "21"
    if r.random() < 0.25:
        # Text13 = Q / 2 lands next to where the output switches notation or carries
        t["txtQp"] = r.choice(FORMAT_EDGES)
    t["Text15"] = r.choice(["1", "0", "1", "0", " 1", "01", "1 ", "Text15", "", "2", "١"])
    if r.random() < 0.5:
        stale(g, t, STEP3_RESULTS)
    states = {"Command4.Enabled": "1", "Frame9.Visible": r.choice(["0", "1"])}
    return t, states


# Values whose 7-digit rounding carries into a new digit, or that are written
# with long runs of zeros (very large and very small results).
FORMAT_EDGES = ["0,0000199999999", "0,00002", "0,0000199999", "0,00019999999", "0,0002",
                "0,000199999", "0,00020000001", "19999998", "19999999", "20000000",
                "1999999,9", "1999999,99", "0,0000000000000000000000000000000000000001",
                "2,0000001", "1,9999999", "19,999999", "0,19999999", "199999,99"]


def stale(g, t, names):
    """Results of an earlier run, left in the form for the next press to overwrite."""
    for name in names:
        if g.r.random() < 0.7:
            t[name] = g.r.choice(["alt", "123", "0", "-1,5", " "])


def step1_direct(g):
    r = g.r
    t = g.step1_fields()
    for name in ["txtLpp", "txtIy", "txtIyy"]:
        x = r.random()
        if x < 0.3:
            t[name] = g.wild()
        elif x < 0.45:
            t[name] = r.choice(DOUBLE_EDGES + SYNTAX_EDGES)
    for name in ["txtH", "txtB"]:
        x = r.random()
        if x < 0.2:
            t[name] = g.wild()
        elif x < 0.35:
            t[name] = r.choice(FIXED_EDGES + SYNTAX_EDGES)
    x = r.random()
    if x < 0.15:
        # slenderness between 1e9 and 9e14: the order of the double operations shows
        t["txtLpp"] = g.num(1e5, 1e9, 6)
        t["txtIy"] = g.num(0.0001, 0.01, 8)
        t["txtH"] = g.num(1e5, 4e9, 4)
        t["txtB"] = g.num(1e5, 4e9, 4)
        t["txtIyy"] = g.num(0.0001, 0.01, 8)
    elif x < 0.2:
        a, b = r.choice(DOUBLE_EDGES[:6]), r.choice(SYNTAX_EDGES[:12])
        t["txtLpp"], t["txtIy"] = (a, b) if r.random() < 0.5 else (b, a)
    for name in STEP1_FILLED:
        if r.random() < 0.04:
            t[name] = r.choice(["", " ", "сто", "x"])
    if r.random() < 0.3:
        stale(g, t, ["lblJ", "lblJ1", "Text6", "Text8", "Text12"])
    return t


def step2_direct(g):
    r = g.r
    t = g.step1_fields()
    t.update(g.wires(float(r.choice([10, 30, 60]))))
    t.update(g.coeffs())
    if r.random() < 0.15:
        t[r.choice(["Text3", "Text5"])] = r.choice(["", " "])
    for name in ["txtLp", "txtl", "txtH", "txtLpp", "txtG", "txtGg"]:
        x = r.random()
        if x < 0.07:
            t[name] = r.choice(["0", "-0", "0,0000", "-1", "-2,5", "0,0001", "-0,0001"])
        elif x < 0.12:
            t[name] = r.choice(FIXED_EDGES + SYNTAX_EDGES)
        elif x < 0.17:
            t[name] = g.wild()
    if r.random() < 0.12:
        # forces of 1e9 to 1e14, where the rounding of each double operation shows
        t["txtLp"] = g.num(1, 1e4, 4)
        for name in WIRE_L + WIRE_GP + WIRE_GPP:
            if r.random() < 0.6:
                t[name] = g.num(-1e4, 1e6, 4)
        t["txtG"] = g.num(1e3, 1e7, 4)
        t["txtH"] = g.num(0.0001, 0.1, 4)
    if r.random() < 0.3:
        stale(g, t, ["txtQp", "txtZ1", "Text15"])
    if r.random() < 0.1:   # Lpp + H at or below zero
        h = g.num(0.1, 3)
        t["txtH"] = h
        t["txtLpp"] = r.choice(["-" + h, _fmt(-text_to_fixed(h) - r.randint(1, 50000), 4)])
    for name in WIRE_L + WIRE_GP + WIRE_GPP:
        x = r.random()
        if x < 0.01:
            t[name] = r.choice(FIXED_EDGES + SYNTAX_EDGES)
        elif x < 0.02:
            t[name] = g.wild()
    for name in ["txtMp", "txtMv"]:
        x = r.random()
        if x < 0.08:
            t[name] = r.choice(SINGLE_EDGES + SYNTAX_EDGES)
        elif x < 0.12:
            t[name] = t["txtMp" if name == "txtMv" else "txtMv"]
    states = {"Command5.Enabled": "1", "Frame7.Enabled": "1", "Frame5.Visible": "0"}
    return t, states


def random_states(g):
    return {name: g.r.choice(["0", "1"]) for name in STATES if g.r.random() < 0.5}


class Case:
    def __init__(self, kind, data, presses, mode="file"):
        self.kind = kind
        self.data = data          # bytes of the form
        self.presses = presses    # list of buttons or None
        self.mode = mode          # "file", "stdin", "dash"
        self.argv_extra = None    # argument list that replaces the normal one
        self.missing_file = False


def encode_form(g, texts, states, crlf=False, decorate=False):
    r = g.r
    lines = []
    items = list(texts.items()) + list(states.items())
    if decorate:
        r.shuffle(items)
    for name, value in items:
        if decorate and r.random() < 0.05:
            lines.append("# " + name + " was " + g.num(0, 100))
        if decorate and r.random() < 0.05:
            lines.append("")
        if decorate and r.random() < 0.05:   # overwritten by the later line
            lines.append("%s=%s" % (name, g.edge() if name in FIELD_SET else r.choice("01")))
        lines.append("%s=%s" % (name, value))
    eol = "\r\n" if crlf else "\n"
    text = eol.join(lines)
    if lines and (not decorate or r.random() < 0.8):
        text += eol
    return text.encode("utf-8")


def random_presses(g):
    return [g.r.choice(BUTTONS) for _ in range(g.r.randint(1, 9))]


def input_error_case(g):
    r = g.r
    t = realistic(g)
    data = encode_form(g, t, {})
    c = Case("input-error", data, None)
    kind = r.randint(0, 9)
    bad_line = None
    if kind == 0:
        bad_line = r.choice(["txtFoo=1", "Text2=abc", "Text11=x", "frame5.visible=1",
                             "Frame5.Enabled=1", "TXTH=1", " txtH=1", "txtH =1", "=5",
                             "Command2=1", "Label1=x", "txtl9=0", "Text16=1", "Frame10.Visible=1"])
    elif kind == 1:
        bad_line = r.choice(["txtH", "hello", "txtH 1,5", " #comment", "Frame5.Visible"])
    elif kind == 2:
        bad_line = r.choice(STATES) + "=" + r.choice(["2", "", " 1", "1 ", "true", "01", "-1",
                                                       "0,0", "да"])
    elif kind == 3:
        bad = r.choice([b"\xff", b"\xc3", b"\xc0\xaf", b"\xed\xa0\x80", b"\xf8\x88\x80\x80\x80",
                        b"\xe2\x82", b"\x80", b"\xf4\x90\x80\x80"])
        c.data = data + b"txtMn=" + bad + b"\n"
        return c
    elif kind == 4:
        c.presses = random_presses(g)
        c.presses.insert(r.randrange(len(c.presses) + 1),
                         r.choice(["Command1", "command2", "Command7", "Command8", "Command 2",
                                   "Command2 ", "X"]))
        return c
    elif kind == 5:
        c.argv_extra = [r.choice(["--bogus", "-x", "--count", "--presses"])]
        return c
    elif kind == 6:
        c.missing_file = True
        return c
    elif kind == 7:
        c.argv_extra = ["--press"]
        return c
    elif kind == 8:
        bad_line = r.choice(["Text1.Visible=1", "Frame9.visible=0", "Command4.Enabled=yes"])
    else:
        bad_line = r.choice(["txtMn", "Frame7.Enabled=", "txtMp"])
    lines = data.decode("utf-8").split("\n")
    lines.insert(r.randrange(len(lines)), bad_line)
    c.data = "\n".join(lines).encode("utf-8")
    return c


def make_case(g, index):
    r = g.r
    x = r.random()
    presses = None
    states = {}
    if index < 4:
        # the fixed road over the untouched form and the engineer's worked example
        texts = [{}, worked_example(Gen(random.Random(0))), {}, {}][index]
        presses = [None, None, ["Command6"], ["Command3", "Command2", "Command5", "Command4"]][index]
        return Case("fixed", encode_form(g, texts, {}), presses)
    if x < 0.10:
        kind, texts = "example", worked_example(g)
    elif x < 0.35:
        kind, texts = "realistic", realistic(g)
    elif x < 0.53:
        kind = "step3"
        texts, states = step3_direct(g)
        presses = ["Command4"] if r.random() < 0.8 else random_presses(g)
    elif x < 0.65:
        kind, texts = "step1", step1_direct(g)
        presses = r.choice([["Command2"], None, ["Command2", "Command2"]])
    elif x < 0.79:
        kind = "step2"
        texts, states = step2_direct(g)
        presses = r.choice([["Command5"], ["Command5", "Command4"], None])
    elif x < 0.91:
        kind = "sequence"
        texts = realistic(g) if r.random() < 0.7 else step3_direct(g)[0]
        states = random_states(g)
        presses = random_presses(g)
    else:
        return input_error_case(g)
    decorate = r.random() < 0.15
    crlf = r.random() < 0.05
    data = encode_form(g, texts, states, crlf=crlf, decorate=decorate)
    if presses is None and r.random() < 0.3:
        presses = list(DEFAULT_PRESS)          # spelled out, same as the default
    mode = r.choice(["file"] * 6 + ["stdin", "dash"])
    return Case(kind, data, presses, mode)


# ---------------------------------------------------------------------------
# Running the command and comparing
# ---------------------------------------------------------------------------

def run_command(calc, case, workdir, index):
    argv = [calc]
    if case.presses is not None:
        argv += ["--press", ",".join(case.presses)]
    if case.argv_extra is not None:
        argv += case.argv_extra
    stdin_data = None
    if case.missing_file:
        argv.append(os.path.join(workdir, "no-such-dir", "form-%d.txt" % index))
    elif case.mode == "file":
        path = os.path.join(workdir, "form-%d.txt" % index)
        with open(path, "wb") as fh:
            fh.write(case.data)
        argv.append(path)
    else:
        if case.mode == "dash":
            argv.append("-")
        stdin_data = case.data
    try:
        p = subprocess.run(argv, input=stdin_data if stdin_data is not None else b"",
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30,
                           env=dict(os.environ, LC_ALL=case_locale(index)))
    except subprocess.TimeoutExpired:
        return None, b"", b"timeout after 30 s", argv
    except OSError as exc:
        return None, b"", str(exc).encode("utf-8", "replace"), argv
    return p.returncode, p.stdout, p.stderr, argv


_LOCALES = ["C", "C.UTF-8", "de_DE.UTF-8", "ru_RU.UTF-8"]


def case_locale(index):
    return _LOCALES[index % len(_LOCALES)]


def expected_for(case):
    if case.missing_file or case.argv_extra is not None:
        return 2, b""
    return model_run(case.data, case.presses)


def describe(case, index, argv, want, got, err):
    out = []
    out.append("=" * 72)
    out.append("MISMATCH in form #%d (%s), LC_ALL=%s" % (index, case.kind, case_locale(index)))
    out.append("command: %s%s" % (" ".join(repr(a) if (" " in a or not a) else a for a in argv),
                                   " < form" if case.mode != "file" else ""))
    out.append("press list: %s" % (",".join(case.presses) if case.presses is not None
                                   else "(default)"))
    out.append("--- form ---")
    out.append(repr(case.data.decode("utf-8", "replace")) if b"\r" in case.data
               else case.data.decode("utf-8", "replace").rstrip("\n"))
    out.append("--- exit status: expected %s, got %s" % (want[0], got[0]))
    if err:
        out.append("--- stderr: %s" % err.decode("utf-8", "replace").strip()[:500])
    if want[0] == 2:
        out.append("--- expected empty stdout, got %d bytes" % len(got[1]))
    else:
        a = want[1].decode("utf-8", "replace").splitlines(keepends=True)
        b = got[1].decode("utf-8", "replace").splitlines(keepends=True)
        out.extend(l.rstrip("\n") for l in difflib.unified_diff(a, b, "expected (model)",
                                                                 "prochnar-calc"))
    return "\n".join(out)


def main():
    ap = argparse.ArgumentParser(description="Cross-check prochnar-calc against a reference model.")
    ap.add_argument("--calc", help="path to the prochnar-calc binary")
    ap.add_argument("--count", type=int, default=1500, help="number of forms (default 1500)")
    ap.add_argument("--seed", type=int, default=20240611, help="random seed")
    ap.add_argument("--show", type=int, default=5, help="mismatches to print in full")
    ap.add_argument("--jobs", type=int, default=min(8, os.cpu_count() or 1))
    ap.add_argument("--model", metavar="FORM",
                    help="print what the reference model expects for one form file and exit "
                         "with its expected status (no binary needed)")
    ap.add_argument("--press", help="press list for --model (default: the road of one calculation)")
    args = ap.parse_args()

    if args.model:
        with open(args.model, "rb") as fh:
            data = fh.read()
        status, out = model_run(data, args.press.split(",") if args.press is not None else None)
        sys.stdout.buffer.write(out)
        if status == 2:
            print("input error (exit status 2)", file=sys.stderr)
        return status
    if not args.calc:
        ap.error("--calc is required")

    started = time.monotonic()
    problems = self_check()
    if problems:
        print("reference model fails its own worked examples:")
        for p in problems[:20]:
            print("  " + p)
        return 1
    calc = os.path.abspath(args.calc)
    if not (os.path.isfile(calc) and os.access(calc, os.X_OK)):
        print("crosscheck: %s is not an executable file" % args.calc, file=sys.stderr)
        return 2

    g = Gen(random.Random(args.seed))
    cases = [make_case(g, i) for i in range(args.count)]
    mismatches = 0
    shown = 0
    by_kind = {}
    with tempfile.TemporaryDirectory(prefix="prochnar-xcheck-") as workdir:
        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
            futures = [pool.submit(run_command, calc, c, workdir, i) for i, c in enumerate(cases)]
            for i, (case, fut) in enumerate(zip(cases, futures)):
                status, stdout, stderr, argv = fut.result()
                want = expected_for(case)
                if want[0] == 2:
                    ok = status == 2 and stdout == b""
                else:
                    ok = status == want[0] and stdout == want[1]
                by_kind.setdefault(case.kind, [0, 0])[0] += 1
                if not ok:
                    mismatches += 1
                    by_kind[case.kind][1] += 1
                    if shown < args.show:
                        shown += 1
                        print(describe(case, i, argv, want, (status, stdout), stderr))
    elapsed = time.monotonic() - started
    kinds = ", ".join("%s %d/%d" % (k, v[1], v[0]) for k, v in sorted(by_kind.items()))
    print("crosscheck: %d forms checked, %d mismatches (seed %d, %.1f s) [mismatches/forms by kind: %s]"
          % (len(cases), mismatches, args.seed, elapsed, kinds))
    return 1 if mismatches else 0


if __name__ == "__main__":
    sys.exit(main())
