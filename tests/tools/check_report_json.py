#!/usr/bin/python3
"""Validates the JSON reports the report test saved against the committed schema.

usage: check_report_json.py SCHEMA REPORT.json...   (Debian's python3-jsonschema)
"""
import json
import sys

from jsonschema import Draft202012Validator

schema = json.load(open(sys.argv[1], encoding="utf-8"))
Draft202012Validator.check_schema(schema)
validator = Draft202012Validator(schema)
if len(sys.argv) < 3:
    sys.exit("no reports to check")
failed = False
for path in sys.argv[2:]:
    errors = list(validator.iter_errors(json.load(open(path, encoding="utf-8"))))
    for error in errors:
        print(f"{path}: {'/'.join(map(str, error.absolute_path))}: {error.message}")
    print(f"{path}: {'invalid' if errors else 'valid'}")
    failed = failed or bool(errors)
sys.exit(1 if failed else 0)
