#!/usr/bin/env bash
# Seeds a demo program folder with a small sample system, once; an existing folder is left as it is.
set -euo pipefail
demo="$1"
mkdir -p "$demo"
# MR-0103 is reached over the network, through the device server scripts/start.sh starts.
[ -e "$demo/Unit Addresses.txt" ] || printf '%s\r\n' \
  "# Unit addresses: serial number,port,kbaud, one unit a line; lines starting with # are notes." \
  "# MR-0103 is the demo's unit behind a serial device server on this PC (RFC 2217)." \
  "MR-0103,rfc2217://127.0.0.1:4001,115" \
  > "$demo/Unit Addresses.txt"
[ -e "$demo/Demo Substation.cfg" ] && exit 0
mkdir -p "$demo/Systems/Demo Substation/Jobs"
printf '%s\r\n' \
  "MR-0101,Not set,M-R32,Feeder 7 Fault,North Yard,SIM 4401" \
  "MR-0102,Not set,M-R32,Feeder 7 Fault,South Yard,SIM 4402" \
  "MR-0103,Not set,M-R32,Feeder 7 Fault,East Yard,SIM 4403" \
  "MS-0201,Not set,M-S32,Cable Survey,Ring Main 3,SIM 4501" \
  > "$demo/Demo Substation.cfg"
mkdir -p "$demo/Systems/Training Rig/Jobs"
printf '%s\r\n' "TR-0001,Not set,M-R32,Bench Job,Lab,SIM 1" > "$demo/Training Rig.cfg"
