#!/usr/bin/env python3
"""Reads a DXF drawing with ezdxf, a reader independent of the station, and checks it against what the
test expects: the units, every point with its label, every distance line and every angle leg, and the
features' circles (centre in world coordinates, radius, extrusion) and lines, each on its layer, and
nothing more. Usage: dxfreadback.py DRAWING.dxf EXPECTED.json"""
import json
import math
import sys

import ezdxf

TOLERANCE = 1e-4


def close(a, b):
    return all(math.isclose(x, y, abs_tol=TOLERANCE) for x, y in zip(a, b))


def main(drawing_name, expected_name):
    with open(expected_name, encoding="utf-8") as f:
        expected = json.load(f)
    doc = ezdxf.readfile(drawing_name)
    faults = []

    auditor = doc.audit()
    if auditor.has_errors:
        faults.append("audit errors: %s" % [str(e.message) for e in auditor.errors])
    if doc.dxfversion != "AC1009":
        faults.append("version %s, not R12" % doc.dxfversion)
    for variable, value in (("$INSUNITS", 4), ("$MEASUREMENT", 1)):
        if doc.header.get(variable) != value:
            faults.append("%s is %r, not %r" % (variable, doc.header.get(variable), value))
    if doc.units != 4:
        faults.append("drawing units %r, not millimetres" % doc.units)

    msp = doc.modelspace()
    points = [e for e in msp if e.dxftype() == "POINT"]
    texts = [e for e in msp if e.dxftype() == "TEXT"]
    lines = [e for e in msp if e.dxftype() == "LINE"]
    circles = [e for e in msp if e.dxftype() == "CIRCLE"]
    others = [e.dxftype() for e in msp if e.dxftype() not in ("POINT", "TEXT", "LINE", "CIRCLE")]
    if others:
        faults.append("unexpected entities %s" % others)

    for entity in points:
        if entity.dxf.layer != "POINTS":
            faults.append("POINT on layer %s" % entity.dxf.layer)
    for entity in texts:
        if entity.dxf.layer != "LABELS":
            faults.append("TEXT on layer %s" % entity.dxf.layer)
    if len(points) != len(expected["points"]) or len(texts) != len(expected["points"]):
        faults.append("%d points and %d labels, expected %d" % (len(points), len(texts), len(expected["points"])))
    for point in expected["points"]:
        if not any(close(e.dxf.location, point["xyz"]) for e in points):
            faults.append("no POINT at %s" % point["xyz"])
        labels = [e for e in texts if e.dxf.text == point["label"]]
        if len(labels) != 1:
            faults.append("%d labels %r" % (len(labels), point["label"]))
            continue
        label = labels[0]
        height = label.dxf.height
        offset = [a - b for a, b in zip(label.dxf.insert, point["xyz"])]
        if height <= 0 or math.hypot(*offset) > 2 * height:
            faults.append("label %r at %s, far from its point %s" % (point["label"], list(label.dxf.insert), point["xyz"]))

    for layer, key in (("DISTANCES", "distances"), ("ANGLES", "angle_legs"), ("FEATURES", "feature_lines")):
        on_layer = [e for e in lines if e.dxf.layer == layer]
        wanted = expected.get(key, [])
        if len(on_layer) != len(wanted):
            faults.append("%d lines on %s, expected %d" % (len(on_layer), layer, len(wanted)))
        for start, end in wanted:
            if not any(close(e.dxf.start, start) and close(e.dxf.end, end) for e in on_layer):
                faults.append("no LINE on %s from %s to %s" % (layer, start, end))
    stray = [e.dxf.layer for e in lines if e.dxf.layer not in ("DISTANCES", "ANGLES", "FEATURES")]
    if stray:
        faults.append("lines on layers %s" % stray)

    # A circle's centre is written in the object coordinates of its extrusion; ezdxf turns it back.
    wanted_circles = expected.get("circles", [])
    if len(circles) != len(wanted_circles):
        faults.append("%d circles, expected %d" % (len(circles), len(wanted_circles)))
    for circle in circles:
        if circle.dxf.layer != "FEATURES":
            faults.append("CIRCLE on layer %s" % circle.dxf.layer)
    for wanted in wanted_circles:
        found = [e for e in circles
                 if close(e.ocs().to_wcs(e.dxf.center), wanted["centre"])
                 and math.isclose(e.dxf.radius, wanted["radius"], abs_tol=TOLERANCE)
                 and close(e.dxf.extrusion, wanted["extrusion"])]
        if len(found) != 1:
            faults.append("no CIRCLE centred at %s, radius %s, extrusion %s; the drawing has %s" % (
                wanted["centre"], wanted["radius"], wanted["extrusion"],
                [(list(e.ocs().to_wcs(e.dxf.center)), e.dxf.radius, list(e.dxf.extrusion)) for e in circles]))
    if "FEATURES" in [layer.dxf.name for layer in doc.layers] and not (circles or expected.get("feature_lines")):
        faults.append("a FEATURES layer with nothing on it")

    for fault in faults:
        print(fault)
    print("%d points, %d labels, %d lines, %d circles read back; %d faults" % (
        len(points), len(texts), len(lines), len(circles), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
