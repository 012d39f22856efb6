/* Prints every city record of libgeonames (Debian's libgeonames0) as one tab-separated
 * line: GeoNames id, name, admin-1 code, admin-1 name, country code, country name,
 * population, latitude, longitude.
 *
 * Run at development time only, by tools/gazetteer/regenerate. The library is GPL-3; this
 * dump is never part of the program, which reads only the data file made from the dump
 * (the records themselves are GeoNames data, CC BY 4.0). The few functions used are
 * declared here so that no GLib development headers are needed. */
#include <stdio.h>
#include <string.h>

typedef struct GeonamesCityRecord GeonamesCity; /* a GVariant of type (sssssssudd) */

extern int geonames_get_n_cities(void);
extern GeonamesCity* geonames_get_city(int index);
extern void geonames_city_free(GeonamesCity* city);
extern void g_variant_get(GeonamesCity* value, const char* format, ...);
extern const char* g_variant_get_type_string(GeonamesCity* value);

int main(void)
{
    const int count = geonames_get_n_cities();
    for (int i = 0; i < count; ++i) {
        GeonamesCity* city = geonames_get_city(i);
        const char *id, *name, *admin1, *admin1_name, *country, *country_name, *timezone;
        unsigned population;
        double latitude, longitude;
        const char* type = g_variant_get_type_string(city);
        if (strcmp(type, "(sssssssudd)") != 0) {
            fprintf(stderr, "dump_cities: record %d has the unexpected type %s\n", i, type);
            return 1;
        }
        g_variant_get(city, "(&s&s&s&s&s&s&sudd)", &id, &name, &admin1, &admin1_name, &country,
                      &country_name, &timezone, &population, &latitude, &longitude);
        if (printf("%s\t%s\t%s\t%s\t%s\t%s\t%u\t%.17g\t%.17g\n", id, name, admin1, admin1_name,
                   country, country_name, population, latitude, longitude) < 0)
            return 1;
        geonames_city_free(city);
    }
    return fflush(stdout) != 0;
}
