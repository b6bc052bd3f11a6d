#!/usr/bin/env bash
# Remakes the test workbooks from payments.fods with LibreOffice: the same sheet as
# ".xls", ".xlsx" and ".ods". Run it after changing payments.fods.
set -euo pipefail
cd "$(dirname "$0")"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
for kind in xls xlsx ods; do
  soffice -env:UserInstallation="file://$profile" --headless --convert-to "$kind" payments.fods >/dev/null
done
