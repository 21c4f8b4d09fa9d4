#!/usr/bin/env bash
# Rewrites the demo data with morvel-gen: a СЗВ-СТАЖ pack for 2019 of a synthetic
# employer, a СЗВ-КОРР filed in 2020 that corrects five of its persons for 2019,
# and the employer's List, which on purpose lacks some persons and states other
# rates for some (differences.txt lists them).
# Usage: demo/regenerate.sh path/to/morvel-gen
set -euo pipefail
gen=${1:?path to morvel-gen}
cd "$(dirname "$0")"
common=(--form szv-stazh --edition newest --persons 40 --periods 2 --regnum 099-001-000123 --year 2019 --seed 7)
rm -f is/*.xml lists/*.xml
"$gen" pack "${common[@]}" --out is/PFR-700-Y-2019-ORG-099-001-000123-DCK-00001-DPT-000000-DCK-00000.xml
"$gen" pack --form szv-korr --edition newest --persons 5 --periods 2 --regnum 099-001-000123 --year 2019 \
  --seed 7 --correction --corr-year 2019 --filing-year 2020 --date 2020-03-02 --pack-number 2 \
  --out is/PFR-700-Y-2020-ORG-099-001-000123-DCK-00002-DPT-000000-DCK-00000.xml
"$gen" list "${common[@]}" --missing 10 --extra 2 --bases 5 --rates 5 --dates 5 --virus 5 --out lists/perech-099-001-000123-2019.xml \
  --manifest differences.txt
