#!/usr/bin/env bash
# Rewrites the generated packs of this folder with morvel-gen. The tests of the
# pack reader regenerate the same employers from the same options (see
# tests/records/forms_test.cpp) and compare what the reader makes of each file
# with the model it was written from, so the options here and there must agree.
# Usage: tests/data/packs/regenerate.sh path/to/morvel-gen
set -euo pipefail
gen=${1:?path to morvel-gen}
cd "$(dirname "$0")"

g() { local out=$1; shift; "$gen" pack --out "$out" "$@"; }

g szv-6-1-2012.xml          --form szv-6-1 --year 2012 --period-code 4 --persons 6 --periods 2 --seed 11 --pack-number 11
g szv-6-2-2011-corr.xml     --form szv-6-2 --year 2011 --period-code 2 --persons 5 --periods 1 --seed 12 \
                            --correction --corr-year 2010 --corr-code 2 --pack-number 7
g spv-1-2013.xml            --form spv-1 --year 2013 --period-code 3 --persons 4 --periods 2 --seed 13
g szv-6-4-2013.xml          --form szv-6-4 --year 2013 --period-code 4 --persons 8 --periods 2 --seed 14
g rsv-1-2015.xml            --form rsv-1 --year 2015 --period-code 9 --persons 8 --periods 2 --seed 15
g spv-2-2014.xml            --form spv-2 --year 2014 --period-code 0 --persons 3 --periods 3 --seed 16
g szv-stazh-old-2017.xml    --form szv-stazh --edition old --year 2017 --persons 6 --periods 2 --seed 17
g szv-stazh-new-2018.xml    --form szv-stazh --edition new --year 2018 --persons 6 --periods 2 --seed 18
g szv-stazh-newest-2019.xml --form szv-stazh --edition newest --year 2019 --persons 8 --periods 2 --seed 19
g szv-stazh-redhot-2022-add.xml --form szv-stazh --edition redhot --year 2022 --persons 6 --periods 3 --seed 20 \
                            --type 1
g szv-korr-newest-2019.xml  --form szv-korr --edition newest --year 2019 --persons 2 --periods 2 --seed 21
g szv-ish-new-2015.xml      --form szv-ish --edition new --year 2015 --persons 2 --periods 2 --seed 22
g efs-1-2023.xml            --form efs-1 --year 2023 --persons 5 --periods 2 --seed 23 --blocks 2
g efs-1-2024-corr.xml       --form efs-1 --year 2024 --persons 3 --periods 1 --seed 24 --correction --corr-year 2023
# Refused by the year floors of their forms.
g szv-6-4-2012.xml          --form szv-6-4 --year 2012 --period-code 4 --persons 1 --periods 1 --seed 25
g rsv-1-2013.xml            --form rsv-1 --year 2013 --period-code 4 --persons 1 --periods 1 --seed 26
# Another employer's pack.
g szv-stazh-foreign.xml     --form szv-stazh --edition newest --year 2019 --persons 1 --periods 1 --seed 27 \
                            --regnum 099-002-000456
# A СЗВ-СТАЖ for the award of a pension (Тип 2) is not read.
g szv-stazh-type-2.xml      --form szv-stazh --edition newest --year 2019 --persons 1 --periods 1 --seed 28 --type 2

# Variants of generated packs, edited where the reader must react.
edit1251() {  # source target sed-script
  iconv -f WINDOWS-1251 -t UTF-8 "$1" | sed "$3" | iconv -f UTF-8 -t WINDOWS-1251 > "$2"
}
edit1251 szv-6-1-2012.xml szv-6-1-subdivision.xml 's|<Основной>00011</Основной>|<Основной>12</Основной>\n   <ПоПодразделению>3</ПоПодразделению>|'
edit1251 szv-6-1-2012.xml szv-6-1-cancelling.xml 's|<ТипСведений>ИСХОДНАЯ</ТипСведений>|<ТипСведений>ОТМЕНЯЮЩАЯ</ТипСведений>|'
edit1251 szv-6-4-2013.xml szv-6-4-no-contract.xml 's|<ТипДоговора>ТРУДОВОЙ</ТипДоговора>|<ТипДоговора></ТипДоговора>|'
edit1251 szv-6-1-2012.xml szv-6-1-no-number.xml 's|<Основной>00011</Основной>|<Основной></Основной>|'
edit1251 szv-6-1-2012.xml szv-6-1-no-composer.xml '/<СоставительПачки>/,/<\/СоставительПачки>/d;s|<ТипДокумента>|<РегистрационныйНомер>099-001-000123</РегистрационныйНомер>\n<ТипДокумента>|'
