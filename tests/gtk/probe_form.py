"""A form built through the screens' UI interface, read through its accessible tree: every
box, list and drop-down is named by the label before it and related to it both ways; the
read-only box is read-only text, not a label; Enter and Tab move in creation order; typed
text is folded to upper case where asked and crosses as Windows-1252; a password box is
password text that never shows what is typed."""
import subprocess
import sys

import pyatspi
from atspi_probe import (application, check, find_all, focused, frame, key, labelled_by, run,
                         text_of, type_text, wait_for)

PROGRAM = sys.argv[1]


def probe():
    program = subprocess.Popen([PROGRAM], stdout=subprocess.PIPE, text=True)
    try:
        app = wait_for("the probe program", lambda: application("gtk_form_probe"))
        form = wait_for("the form", lambda: frame(app, "Form Probe"))
        labels = {n.name: n for n in find_all(form, lambda n: n.getRole() == pyatspi.ROLE_LABEL)}
        check(set(labels) >= {"Call Sign:", "Drive:", "Last QSO:", "Band:", "Mode:"},
              "labels are spoken without their & marks")

        texts = find_all(form, lambda n: n.getRole() == pyatspi.ROLE_TEXT)
        by_name = {n.name: n for n in texts}
        check(set(by_name) == {"Call Sign:", "Drive:", "Last QSO:"}, "each edit box is named by its label")
        for name, node in by_name.items():
            check(labels[name] in labelled_by(node), name + " box is labelled by its label")
            label_for = [r for r in labels[name].getRelationSet()
                         if r.getRelationType() == pyatspi.RELATION_LABEL_FOR]
            check(label_for and label_for[0].getTarget(0) == node, name + " label is the label for its box")
        read_only = by_name["Last QSO:"]
        check(not read_only.getState().contains(pyatspi.STATE_EDITABLE) and
              read_only.getState().contains(pyatspi.STATE_FOCUSABLE),
              "the read-only box is focusable read-only text")
        check(text_of(read_only) == "No previous contact", "the read-only box holds its text")
        check(by_name["Call Sign:"].getState().contains(pyatspi.STATE_EDITABLE), "the edit box is editable")

        lists = find_all(form, lambda n: n.getRole() == pyatspi.ROLE_LIST)
        check(len(lists) == 1 and lists[0].name == "Band:", "the list is named by its label")
        check(labels["Band:"] in labelled_by(lists[0]), "the list is labelled by its label")
        combos = find_all(form, lambda n: n.getRole() == pyatspi.ROLE_COMBO_BOX)
        check(len(combos) == 1 and combos[0].name == "Mode:", "the drop-down is named by its label")
        check(labels["Mode:"] in labelled_by(combos[0]), "the drop-down is labelled by its label")

        check(by_name["Call Sign:"].getState().contains(pyatspi.STATE_FOCUSED), "the focus starts where the screen put it")
        type_text("Form Probe", "g9zza é")
        wait_for("typed text", lambda: text_of(by_name["Call Sign:"]) == "g9zza é")
        check(True, "typed text reaches the edit box")
        key("Form Probe", ["Return"])
        wait_for("Enter to move on", lambda: by_name["Drive:"].getState().contains(pyatspi.STATE_FOCUSED))
        check(True, "Enter moves to the next box")
        type_text("Form Probe", "e:Ω")
        wait_for("upper-case text", lambda: text_of(by_name["Drive:"]) == "E:?")
        check(True, "the upper-case box folds letters and a character outside Windows-1252 becomes ?")
        key("Form Probe", ["Tab", "Tab"])
        wait_for("Tab to the list", lambda: lists[0].getState().contains(pyatspi.STATE_FOCUSED))
        check(True, "Tab moves in creation order, through the read-only box to the list")
        key("Form Probe", ["shift+Tab"])
        wait_for("Shift+Tab back", lambda: read_only.getState().contains(pyatspi.STATE_FOCUSED))
        check(True, "Shift+Tab moves back")
        key("Form Probe", ["F2"])
        alert = wait_for("the message box", lambda: next(
            (w for w in app if w is not None and w.getRole() == pyatspi.ROLE_ALERT), None))
        check(alert.name == "Delete Entry", "the message box is an alert named by its title")
        check(any(n.name == "Are you sure?" or text_of(n) == "Are you sure?" for n in find_all(alert, lambda n: True)),
              "the alert holds its text")
        subprocess.run(["xdotool", "key", "Return"], check=True)
        wait_for("the answer", lambda: text_of(read_only) == "answered yes")
        check(True, "Enter answers Yes and the focus returns to the form")
        for keys, answer, said in ((["F3", "Return"], "answered no", "Enter answers No where Yes destroys"),
                                   (["F3", "y"], "answered yes", "Y answers Yes without Alt")):
            key("Form Probe", [keys[0]])
            wait_for("the question", lambda: next(
                (w for w in app if w is not None and w.getRole() == pyatspi.ROLE_ALERT), None))
            subprocess.run(["xdotool", "key", keys[1]], check=True)
            wait_for(said, lambda: text_of(read_only) == answer)
            check(True, said)
        passwords = find_all(form, lambda n: n.getRole() == pyatspi.ROLE_PASSWORD_TEXT)
        check(len(passwords) == 1 and passwords[0].name == "Password:" and
              labels["Password:"] in labelled_by(passwords[0]),
              "the password box is password text named by its label")
        key("Form Probe", ["Tab", "Tab", "Tab"])
        wait_for("Tab to the password box", lambda: passwords[0].getState().contains(pyatspi.STATE_FOCUSED))
        type_text("Form Probe", "se cret")
        wait_for("typed marks", lambda: len(text_of(passwords[0])) == 7)
        check("secret" not in text_of(passwords[0]).replace(" ", ""), "the password box gives marks, not the password")
        key("Form Probe", ["Escape"])
        out, _ = program.communicate(timeout=5)
        lines = out.split()
        check("101:67397A7A6120E9" in lines, "the typed text returns as Windows-1252 bytes")
        check("103:453A3F" in lines, "the upper-case box returns E:?")
        check("107:0" in lines and "109:1" in lines, "the selections are kept")
        check("111:73652063726574" in lines, "the password box keeps what was typed")
    finally:
        if program.poll() is None:
            program.kill()


run(probe)
