#!/usr/bin/env python3
"""Compares two registry exports (regedit /e, UTF-16 with BOM) and two file
listings, fact by fact: every key, and every value with its data under its
key. Prints what the second state lacks ("- ...") and what it gained
("+ ..."); with --expect FILE, exits 1 unless the removed registry facts are
exactly the lines of FILE and nothing was added or removed anywhere else."""
import sys


def reg_facts(path):
    with open(path, 'rb') as handle:
        raw = handle.read()
    text = raw.decode('utf-16') if raw[:2] in (b'\xff\xfe', b'\xfe\xff') else raw.decode('utf-8', 'replace')
    facts = set()
    key = None
    logical = ''
    for line in text.splitlines():
        if logical:
            line = logical + line.strip()
            logical = ''
        if line.endswith('\\') and key is not None and not line.startswith('['):
            logical = line[:-1]
            continue
        if line.startswith('[') and line.endswith(']'):
            key = line[1:-1].upper()
            facts.add('KEY ' + key)
        elif key is not None and '=' in line:
            facts.add(('VALUE ' + key + ' ' + line.strip()).upper())
    return facts


def file_facts(path):
    with open(path, encoding='utf-8', errors='replace') as handle:
        return {'FILE ' + line.rstrip('\n').upper() for line in handle if line.strip()}


def main(argv):
    expect = None
    if argv[:1] == ['--expect']:
        expect = argv[1]
        argv = argv[2:]
    reg_before, reg_after, files_before, files_after = argv
    before = reg_facts(reg_before) | file_facts(files_before)
    after = reg_facts(reg_after) | file_facts(files_after)
    removed = sorted(before - after)
    added = sorted(after - before)
    for fact in removed:
        print('- ' + fact)
    for fact in added:
        print('+ ' + fact)
    if expect is None:
        return 0
    with open(expect, encoding='utf-8') as handle:
        expected = sorted(line.rstrip('\n').upper() for line in handle if line.strip())
    ok = removed == expected and not added
    if not ok:
        print('expected removed:')
        for fact in expected:
            print('  ' + fact)
    return 0 if ok else 1


sys.exit(main(sys.argv[1:]))
