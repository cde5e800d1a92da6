#!/usr/bin/env bash
# Seeds a demo program folder with a small sample system, once; an existing folder is left as it is.
set -euo pipefail
demo="$1"
[ -e "$demo/Demo Substation.cfg" ] && exit 0
mkdir -p "$demo/Systems/Demo Substation/Jobs"
printf '%s\r\n' \
  "MR-0101,Not set,M-R32,Feeder 7 Fault,North Yard,SIM 4401" \
  "MR-0102,Not set,M-R32,Feeder 7 Fault,South Yard,SIM 4402" \
  "MS-0201,Not set,M-S32,Cable Survey,Ring Main 3,SIM 4501" \
  > "$demo/Demo Substation.cfg"
mkdir -p "$demo/Systems/Training Rig/Jobs"
printf '%s\r\n' "TR-0001,Not set,M-R32,Bench Job,Lab,SIM 1" > "$demo/Training Rig.cfg"
