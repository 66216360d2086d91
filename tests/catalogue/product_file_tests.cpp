// Loading the product data file: what it gives for a good file, and the line and
// the fault it names for a bad one.

#include <gtest/gtest.h>

#include <string>

#include "catalogue/embedded_products.h"
#include "catalogue/product_file.h"

namespace pricelookup::catalogue {
namespace {

TEST(ParseProductFile, GivesEveryProductInBothEncodings) {
    const ProductFile file = parse_product_file(
        "\xEF\xBB\xBF# comment line\n"
        "\n"
        "7\t星河 X55 液晶电视\t55英寸 4K\t参考价：\t3999\t2026-11-02\r\n"
        "12\tPhone\t6.1in\t\t899.50\t2024-02-29",
        "p.tsv");
    ASSERT_EQ(file.error, "");
    ASSERT_EQ(file.products.size(), 2u);
    const Product& tv = file.products[0];
    EXPECT_EQ(tv.id, "7");
    EXPECT_EQ(tv.utf8.name,
              "\xE6\x98\x9F\xE6\xB2\xB3 X55 \xE6\xB6\xB2\xE6\x99\xB6\xE7\x94\xB5\xE8\xA7\x86");
    // GBK of the same texts: 星河 X55 液晶电视, 55英寸 4K, 参考价：
    EXPECT_EQ(tv.gbk.name, "\xD0\xC7\xBA\xD3 X55 \xD2\xBA\xBE\xA7\xB5\xE7\xCA\xD3");
    EXPECT_EQ(tv.gbk.specification, "55\xD3\xA2\xB4\xE7 4K");
    EXPECT_EQ(tv.gbk.label, "\xB2\xCE\xBF\xBC\xBC\xDB\xA3\xBA");
    EXPECT_EQ(tv.gbk.price, "3999");
    EXPECT_EQ(tv.gbk.date, "2026-11-02");
    const Product& phone = file.products[1];
    EXPECT_EQ(phone.id, "12");
    EXPECT_EQ(phone.gbk.label, "");
    EXPECT_EQ(phone.gbk.price, "899.50");
    EXPECT_EQ(phone.utf8.date, "2024-02-29");
}

TEST(ParseProductFile, NamesTheLineAndTheFault) {
    const std::string good = "1\tTV\t55in\tprice:\t3999\t2026-11-02\n";
    const struct {
        std::string line;  // the third line of the file
        std::string error;
    } cases[] = {
        {"2\tTV\t55in\t\t3999", "expected 6 fields separated by tabs, found 5"},
        {"2\tTV\t55in\t\t3999\t2026-11-02\tx", "expected 6 fields separated by tabs, found 7"},
        {"02\tTV\t55in\t\t3999\t2026-11-02", "id \"02\" is not a number from 1 to 999999999"},
        {"x\tTV\t55in\t\t3999\t2026-11-02", "id \"x\" is not a number from 1 to 999999999"},
        {"1\tTV\t55in\t\t3999\t2026-11-02", "id 1 is already used on line 1"},
        {"2\t\t55in\t\t3999\t2026-11-02", "name is empty"},
        {"2\tTV\t\t\t3999\t2026-11-02", "specification line is empty"},
        {"2\tTV \"X\"\t55in\t\t3999\t2026-11-02",
         "name holds '\"', which the page markup cannot carry"},
        {"2\tTV\t55<b>in\t\t3999\t2026-11-02",
         "specification line holds '<', which the page markup cannot carry"},
        {"2\tTV\t55in\tA&B\t3999\t2026-11-02",
         "price label holds '&', which the page markup cannot carry"},
        {"2\tTV\x01\t55in\t\t3999\t2026-11-02", "name holds the control character U+0001"},
        {"2\tTV \xE2\x82\xAC\t55in\t\t3999\t2026-11-02",
         "name holds U+20AC, which has no GBK form"},
        {"2\tTV \xF0\x9F\x98\x80\t55in\t\t3999\t2026-11-02",
         "name holds U+1F600, which has no GBK form"},
        {"2\tTV \xB5\xE7\t55in\t\t3999\t2026-11-02", "name is not valid UTF-8"},
        {"2\tTV\t55in\t\t\t2026-11-02",
         "price \"\" is not an amount in yuan (at most two decimals)"},
        {"2\tTV\t55in\t\t39.999\t2026-11-02",
         "price \"39.999\" is not an amount in yuan (at most two decimals)"},
        {"2\tTV\t55in\t\t-5\t2026-11-02",
         "price \"-5\" is not an amount in yuan (at most two decimals)"},
        {"2\tTV\t55in\t\t3999\t2026-13-01", "date \"2026-13-01\" is not a date YYYY-MM-DD"},
        {"2\tTV\t55in\t\t3999\t2026-02-29", "date \"2026-02-29\" is not a date YYYY-MM-DD"},
        {"2\tTV\t55in\t\t3999\t2026/11/02", "date \"2026/11/02\" is not a date YYYY-MM-DD"},
    };
    for (const auto& c : cases) {
        const ProductFile file =
            parse_product_file(good + "# two\n" + c.line + "\n" + good, "p.tsv");
        EXPECT_EQ(file.error, "p.tsv:3: " + c.error) << c.line;
        EXPECT_TRUE(file.products.empty()) << c.line;
    }
}

TEST(ParseProductFile, AFileWithoutProductsIsAnError) {
    for (const std::string_view text : {"", "# only a comment\n\n"}) {
        const ProductFile file = parse_product_file(text, "p.tsv");
        EXPECT_EQ(file.error, "p.tsv: holds no products") << text;
    }
}

// The file built into the program loads, and holds enough products for paging.
TEST(EmbeddedProductFile, LoadsWithoutFault) {
    const ProductFile file =
        parse_product_file(embedded_product_file(), embedded_product_file_name);
    EXPECT_EQ(file.error, "");
    EXPECT_GE(file.products.size(), 200u);
}

}  // namespace
}  // namespace pricelookup::catalogue
