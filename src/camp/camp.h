// The camp: shop, selling, forge and rest.
#pragma once

// A camp price after the discount.
int camp_discount_price(int price);
